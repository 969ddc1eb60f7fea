#include "appservices.h"

#include "mconfig.h"

#include <QCoreApplication>

AppServices AppServices::defaults()
{
    AppServices services;
    services.now = [] {
        return QDateTime::currentDateTime();
    };
    services.saveSettings = [] {
        MConfig::saveCommConfig();
    };
    // Leaving every event loop lets start-up tear down the global services in order.
    services.quit = [](int code) {
        QCoreApplication::exit(code);
    };
    return services;
}
