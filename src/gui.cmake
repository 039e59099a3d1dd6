# The Qt window and the About box, linked by the program `ritmova`.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport Svg)

add_library(ritmova_gui STATIC
  ui/beat_entry.cpp
  ui/background_read.cpp
  ui/main_window_open.cpp
  ui/main_window_channel.cpp
  ui/command_line_export.cpp
  ui/command_line_report.cpp
  ui/common_dialog.cpp
  ui/fixed_width_font.cpp
  ui/import_dialog.cpp
  ui/main_window.cpp
  ui/main_window_trend.cpp
  ui/main_window_standard.cpp
  ui/main_window_load.cpp
  ui/main_window_report.cpp
  ui/main_window_review.cpp
  ui/beat_review_window.cpp
  ui/ecg_strip.cpp
  ui/beat_tachogram.cpp
  ui/main_window_import.cpp
  ui/load_layout.cpp
  ui/picture_box.cpp
  ui/platform_messages.cpp
  ui/hrv_report.cpp
  ui/plot_axes.cpp
  ui/standard_plots.cpp
  ui/standard_plots_nonlinear.cpp
  ui/qt_window_port.cpp
  ui/standard_plot_view.cpp
  ui/standard_window.cpp
  ui/standard_window_results.cpp
  ui/trend_plot.cpp
  ui/trend_window.cpp
  ui/window_export.cpp
  ui/window_notes.cpp
  ui/window_printing.cpp)
target_link_libraries(ritmova_gui PUBLIC ritmova_view Qt6::Widgets Qt6::PrintSupport Qt6::Svg)
set_target_properties(ritmova_gui PROPERTIES AUTOMOC ON)
target_compile_definitions(ritmova_gui PRIVATE RITMOVA_VERSION="${PROJECT_VERSION}")

include(about/about.cmake)

add_executable(ritmova ui/main.cpp)
target_link_libraries(ritmova PRIVATE ritmova_gui)
install(TARGETS ritmova RUNTIME DESTINATION bin)
