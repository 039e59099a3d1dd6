# The Qt window and the About box, linked by the program `ritmova`.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)

add_library(ritmova_gui STATIC
  ui/app_icon.cpp)
target_link_libraries(ritmova_gui PUBLIC ritmova_core Qt6::Widgets Qt6::PrintSupport)
set_target_properties(ritmova_gui PROPERTIES AUTOMOC ON)

include(about/about.cmake)
