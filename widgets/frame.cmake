# Frame, title bar, panel, balloon tip, dialog base, message box.
list(APPEND QUELLNET_WIDGET_SOURCES
    mpanel.cpp mpanel.h
    qballoontip.cpp qballoontip.h
    systemmenucontrol.cpp systemmenucontrol.h systemmenucontrol_linux.cpp
    mtitlebar.cpp mtitlebar.h
    mbasedialog.cpp mbasedialog.h
    mmessagebox.cpp mmessagebox.h
    mbaseframe.cpp mbaseframe.h)
