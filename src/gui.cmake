# The Qt window and About box.
