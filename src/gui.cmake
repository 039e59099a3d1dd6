# The Qt window and the About box, linked by the program `ritmova`.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport Svg)

add_library(ritmova_gui STATIC
  ui/command_line_export.cpp
  ui/common_dialog.cpp
  ui/fixed_width_font.cpp
  ui/import_dialog.cpp
  ui/main_window.cpp
  ui/main_window_trend.cpp
  ui/main_window_load.cpp
  ui/main_window_import.cpp
  ui/load_layout.cpp
  ui/picture_box.cpp
  ui/qt_window_port.cpp
  ui/trend_plot.cpp
  ui/trend_window.cpp
  ui/window_export.cpp
  ui/window_printing.cpp)
target_link_libraries(ritmova_gui PUBLIC ritmova_view Qt6::Widgets Qt6::PrintSupport Qt6::Svg)
set_target_properties(ritmova_gui PROPERTIES AUTOMOC ON)

include(about/about.cmake)

add_executable(ritmova ui/main.cpp)
target_link_libraries(ritmova PRIVATE ritmova_gui)
install(TARGETS ritmova RUNTIME DESTINATION bin)
