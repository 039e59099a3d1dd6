# The About box and the desktop integration: launcher, MIME type and theme icons.
target_sources(ritmova_gui PRIVATE
  about/app_icon.cpp
  about/about_box.cpp
  about/about_dialog.cpp
  about/qt_sys_info_host.cpp
  about/registry.cpp
  about/system_info.cpp
  about/system_registry.cpp)
if(WIN32)
  target_link_libraries(ritmova_gui PRIVATE advapi32)
endif()

# The theme icons are drawn at build time by the code that draws the window icon.
add_executable(ritmova-render-icons about/render_icons.cpp)
target_link_libraries(ritmova-render-icons PRIVATE ritmova_gui)

set(RITMOVA_ICON_SIZES 16 32 48 64 128 256)
set(ritmova_icon_dir "${PROJECT_BINARY_DIR}/icons/hicolor")
set(ritmova_icon_files "")
foreach(size IN LISTS RITMOVA_ICON_SIZES)
  list(APPEND ritmova_icon_files "${ritmova_icon_dir}/${size}x${size}/apps/ritmova.png")
endforeach()
set(ritmova_render_env QT_QPA_PLATFORM=offscreen)
if(RITMOVA_SANITIZE)
  # Leaks of the toolkit at exit must not fail the build.
  list(APPEND ritmova_render_env ASAN_OPTIONS=detect_leaks=0)
endif()
add_custom_command(
  OUTPUT ${ritmova_icon_files}
  COMMAND ${CMAKE_COMMAND} -E env ${ritmova_render_env}
          $<TARGET_FILE:ritmova-render-icons> "${ritmova_icon_dir}" ${RITMOVA_ICON_SIZES}
  DEPENDS ritmova-render-icons
  COMMENT "Drawing the theme icons"
  VERBATIM)
add_custom_target(ritmova-icons ALL DEPENDS ${ritmova_icon_files})

install(DIRECTORY "${ritmova_icon_dir}" DESTINATION share/icons)
install(FILES "${PROJECT_SOURCE_DIR}/dist/ritmova.desktop" DESTINATION share/applications)
install(FILES "${PROJECT_SOURCE_DIR}/dist/ritmova-mime.xml"
        DESTINATION share/mime/packages RENAME ritmova.xml)
