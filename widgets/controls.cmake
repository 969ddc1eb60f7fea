# Message box, loading dialog, base widget, lines, image button, sliders.
