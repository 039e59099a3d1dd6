# Installs the build at BUILD_DIR into PREFIX and checks the programs, the launcher, the theme
# icons and the MIME type that land there (-D BUILD_DIR, PREFIX, DESKTOP_FILE_VALIDATE and
# UPDATE_MIME_DATABASE).
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${output}")
  endif()
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}")
set(launcher "${PREFIX}/share/applications/ritmova.desktop")
foreach(path bin/ritmova bin/ritmova-cli share/applications/ritmova.desktop
             share/mime/packages/ritmova.xml)
  if(NOT EXISTS "${PREFIX}/${path}" OR IS_DIRECTORY "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

run("${DESKTOP_FILE_VALIDATE}" "${launcher}")
file(STRINGS "${launcher}" exec REGEX "^Exec=")
file(STRINGS "${launcher}" mime_types REGEX "^MimeType=")
if(NOT exec STREQUAL "Exec=ritmova %f")
  message(FATAL_ERROR "the launcher runs `${exec}`, not the installed ritmova")
endif()

# Each icon a PNG of its size (a missing one fails the read): the signature, then after the
# IHDR chunk's head, the width and the height as 32-bit numbers.
foreach(size 16 32 48 64 128 256)
  file(READ "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/ritmova.png" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 16 width_height)
  math(EXPR width_height "0x${width_height}")
  math(EXPR expected "(${size} << 32) + ${size}")
  if(NOT header MATCHES "^89504e470d0a1a0a" OR NOT width_height EQUAL expected)
    message(FATAL_ERROR "icon ${size}: not a ${size}x${size} PNG (${header})")
  endif()
endforeach()

# The launcher's MIME type must be the one the MIME entry gives to *.int files.
run("${UPDATE_MIME_DATABASE}" "${PREFIX}/share/mime")
file(STRINGS "${PREFIX}/share/mime/globs2" globs REGEX ":\\*\\.int$")
if(NOT globs MATCHES ":application/x-ritmova-intervals:\\*\\.int$"
   OR NOT mime_types MATCHES "^MimeType=application/x-ritmova-intervals[\\;]*$")
  message(FATAL_ERROR "*.int is `${globs}`, the launcher opens `${mime_types}`")
endif()
