# Installs the build at BUILD_DIR into PREFIX and checks the programs, the launcher, the theme
# icons and the MIME type that land there.
#   cmake -D BUILD_DIR=... -D PREFIX=... -D DESKTOP_FILE_VALIDATE=...
#         -D UPDATE_MIME_DATABASE=... -P check_install.cmake

function(require_file path)
  if(NOT EXISTS "${PREFIX}/${path}" OR IS_DIRECTORY "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${output}")
  endif()
endfunction()

# A PNG's width and height, from its header.
function(require_png path size)
  require_file("${path}")
  file(READ "${PREFIX}/${path}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size
     OR NOT height EQUAL size)
    message(FATAL_ERROR "${path}: not a ${size}x${size} PNG (${width}x${height})")
  endif()
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}")

set(programs ritmova ritmova-cli)
foreach(program IN LISTS programs)
  require_file("bin/${program}")
endforeach()

set(launcher "share/applications/ritmova.desktop")
require_file("${launcher}")
run("${DESKTOP_FILE_VALIDATE}" "${PREFIX}/${launcher}")
file(STRINGS "${PREFIX}/${launcher}" exec REGEX "^Exec=")
file(STRINGS "${PREFIX}/${launcher}" mime_types REGEX "^MimeType=")
if(NOT exec STREQUAL "Exec=ritmova %f")
  message(FATAL_ERROR "the launcher runs `${exec}`, not the installed ritmova")
endif()

foreach(size 16 32 48 64 128 256)
  require_png("share/icons/hicolor/${size}x${size}/apps/ritmova.png" ${size})
endforeach()

# The launcher's MIME type must be the one the MIME entry gives to *.int files.
require_file("share/mime/packages/ritmova.xml")
run("${UPDATE_MIME_DATABASE}" "${PREFIX}/share/mime")
file(STRINGS "${PREFIX}/share/mime/globs2" globs REGEX ":\\*\\.int$")
if(NOT globs MATCHES ":application/x-ritmova-intervals:\\*\\.int$"
   OR NOT mime_types MATCHES "^MimeType=application/x-ritmova-intervals[\\;]*$")
  message(FATAL_ERROR "*.int is `${globs}`, the launcher opens `${mime_types}`")
endif()
