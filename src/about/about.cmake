# The About box: sources added to ritmova_gui.
target_sources(ritmova_gui PRIVATE about/about_box.cpp)
