# The About box: sources added to ritmova_gui.
