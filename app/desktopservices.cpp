#include "desktopservices.h"

#include "maboutus.h"
#include "mdownloaddlg.h"
#include "mtraildlg.h"
#include "muatracker.h"
#include "qballoontip.h"

#include <QDesktopServices>
#include <QMessageBox>

AppServices desktopServices()
{
    AppServices services = AppServices::defaults();
    services.showMessage = [](const QString &title, const QString &text, QWidget *parent) {
        QMessageBox box(parent);
        box.setStyleSheet(
            QStringLiteral("QPushButton:hover{color:#fefefe;background-color:#2E374E;}"));
        box.setMinimumSize(200, 100);
        box.setWindowTitle(title);
        box.setText(text);
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
    };
    services.showBalloon = [](const QString &text, const QPoint &pos) {
        QBalloonTip::showBalloon(text, pos, 3000);
    };
    services.openUrl = [](const QUrl &url) {
        QDesktopServices::openUrl(url);
    };
    services.expiredDialog = [](QWidget *parent) {
        MTrailDlg dialog(parent);
        return dialog.exec();
    };
    services.aboutDialog = [](QWidget *parent) {
        MAboutUS dialog(parent);
        dialog.exec();
    };
    services.sendPageView = [](const QString &title, const QString &path) {
        MUATracker::instance()->sendPageView(title, path);
    };
    services.sendEvent
        = [](const QString &category, const QString &action, const QString &label, int value) {
              MUATracker::instance()->sendEvent(category, action, label, value);
          };
    services.download
        = [](QWidget *owner, const QString &title, const QString &url, const QString &savePath,
             int parts, std::function<void(const QString &)> finished) {
              auto *dialog = new MDownloadDlg(title, owner); // deletes itself on close
              QObject::connect(dialog, &MDownloadDlg::signalFinished, owner, std::move(finished));
              dialog->show();
              dialog->startDownload(url, savePath, parts);
          };
    return services;
}
