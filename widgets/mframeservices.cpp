#include "mframeservices.h"

#include <QCoreApplication>

MFrameServices MFrameServices::defaults()
{
    MFrameServices services;
    // Analytics (sendPageView, sendEvent) and the download dialog (download) are connected
    // here once MUATracker and MDownloadDlg are part of the build.
    // Leaving every event loop lets start-up tear down the global services in order.
    services.exitProcess = [](int code) {
        QCoreApplication::exit(code);
    };
    return services;
}
