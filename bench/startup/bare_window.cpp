// The start-up benchmark's baseline: a bare Qt widgets window (one label), its first frame
// stamped exactly as the client's is.
#include "firstframe.h"
#include "starttrace.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    StartTrace::step("main");
    // --raster: top-level widgets on plain raster surfaces, so the GL stack is never loaded.
    if (argc > 1 && qstrcmp(argv[1], "--raster") == 0)
        QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Quellnet"));
    label.resize(322, 500);
    label.show();
    whenFirstFramePainted(label.windowHandle(), [] { StartTrace::step("shown"); });
    StartTrace::step("show called");
    return app.exec();
}
