# Base widget, lines, image button, sliders, loading dialog and animated label.
list(APPEND QUELLNET_WIDGET_SOURCES
    mbasewidget.cpp mbasewidget.h
    mline.cpp mline.h
    mimagebutton.cpp mimagebutton.h
    mslider.cpp mslider.h
    mvaluesliderbar.cpp mvaluesliderbar.h
    mloadingdlg.cpp mloadingdlg.h
    mdownloaddlg.cpp mdownloaddlg.h
    mgiflable.cpp mgiflable.h)
