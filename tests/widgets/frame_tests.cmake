# Frame, title bar, panel, balloon tip, dialog base and message box.
quellnet_add_test(NAME tst_mpanel SOURCES tst_mpanel.cpp LIBS quellnet_widgets LABEL unit)
quellnet_add_test(NAME tst_qballoontip SOURCES tst_qballoontip.cpp LIBS quellnet_widgets
    LABEL unit)
quellnet_add_test(NAME tst_mtitlebar SOURCES tst_mtitlebar.cpp LIBS quellnet_widgets LABEL unit)
quellnet_add_test(NAME tst_mbasedialog SOURCES tst_mbasedialog.cpp LIBS quellnet_widgets quellnet_testheaders
    LABEL unit)
quellnet_add_test(NAME tst_mmessagebox SOURCES tst_mmessagebox.cpp LIBS quellnet_widgets quellnet_testheaders
    LABEL unit)
quellnet_add_test(NAME tst_mbaseframe SOURCES tst_mbaseframe.cpp
    LIBS quellnet_widgets quellnet_testheaders quellnet_testsigning LABEL unit)
