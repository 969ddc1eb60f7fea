# Frame, title bar, panel, balloon tip, dialog base.
