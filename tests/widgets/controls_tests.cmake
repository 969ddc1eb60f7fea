# Base widget, lines, image button, sliders, loading dialog and animated label.
quellnet_add_test(NAME tst_mbasewidget SOURCES tst_mbasewidget.cpp
    LIBS quellnet_widgets LABEL unit)
quellnet_add_test(NAME tst_msliders SOURCES tst_msliders.cpp
    LIBS quellnet_widgets LABEL unit)
# Waits out the 20 s lifetime of the loading child process.
quellnet_add_test(NAME tst_mloadingdlg SOURCES tst_mloadingdlg.cpp
    LIBS quellnet_widgets LABEL unit TIMEOUT 180)

