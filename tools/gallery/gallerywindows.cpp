#include "gallerywindows.h"

#include "galleryframe.h"
#include "mbasedialog.h"
#include "mloadingdlg.h"
#include "mmessagebox.h"
#include "mpanel.h"
#include "qballoontip.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kGap = 10;
constexpr int kColumnWidth = 300;
constexpr int kDialogHeight = 118;

// The balloon outlives the screenshot delay by far; it is closed with the gallery anyway.
constexpr int kBalloonMs = 600000;

} // namespace

void GalleryWindows::showBeside(GalleryFrame *frame)
{
    const int middle = frame->geometry().right() + 1 + 2 * kGap;
    const int right = middle + kColumnWidth + 2 * kGap;
    int y = frame->geometry().top();

    struct DialogSample
    {
        DialogButton buttons;
        QString title;
        QString text;
        bool buyNow;
    };
    const DialogSample dialogs[] = {
        {DB_Ok, tr("MBaseDialog: DB_Ok"), tr("The footer shows one button reading \"Ok\"."), false},
        {DB_Close, tr("MBaseDialog: DB_Close"),
         tr("The same button reads \"Close\"; a green \"Buy Now\" sits on the left."), true},
        {DB_OkCancel, tr("MBaseDialog: DB_OkCancel"), tr("Ok and Cancel, default on the right."),
         false},
        {DB_YesNo, tr("MBaseDialog: DB_YesNo"), tr("Yes and No, default on the right."), false},
    };
    for (const DialogSample &sample : dialogs) {
        auto *dialog = new MBaseDialog(frame);
        dialog->setTitle(sample.title);
        auto *body = new MPanel(Qt::Vertical, dialog);
        body->setContentsMargins(20, 14, 20, 0);
        auto *text = new QLabel(sample.text, body);
        text->setWordWrap(true);
        body->addWidget(text);
        body->addStretch(1);
        dialog->setContentWidget(body);
        dialog->setBtns(sample.buttons);
        // Shows the outline of the button that Enter presses.
        dialog->getBtn(sample.buttons == DB_YesNo ? 2 : 0)->setDefault(true);
        if (sample.buyNow) {
            auto *buy = new QPushButton(tr("Buy Now"), dialog);
            buy->setObjectName(QStringLiteral("BtnBuyNow"));
            buy->setFixedSize(100, 25);
            dialog->addWidget(buy);
        }
        dialog->setFixedSize(kColumnWidth, kDialogHeight);
        dialog->move(middle, y);
        dialog->show();
        y += kDialogHeight + kGap;
    }

    auto *textOnly = new MLoadingDlg(tr("Loading the server list\u2026"), true, frame);
    textOnly->move(middle, y);
    textOnly->show();
    y += textOnly->height() + kGap;
    auto *animated = new MLoadingDlg(tr("Connecting, please wait"), false, frame);
    animated->move(middle, y);
    animated->show();
    y += animated->height() + kGap;

    // One message box under the loading boxes, the others on the right; the wide
    // four-button box last, where the screen has room for it.
    auto place = [&](MMessageBox *box, int x) {
        box->move(x, y);
        box->show();
        y += box->height() + kGap;
    };
    auto *info = new MMessageBox(frame);
    info->ShowMessageOK(tr("Password recovery"),
                        tr("A link to reset your password has been sent to your e-mail."), false);
    place(info, middle);

    y = frame->geometry().top();
    auto *error = new MMessageBox(frame);
    error->ShowMessageOK(tr("Connection failed"),
                         tr("The server did not answer in time. Check your network, then try "
                            "again or choose another server."),
                         true);
    place(error, right);
    auto *question = new MMessageBox(frame);
    question->ShowMessageYesNo(tr("Quit"), tr("You are still connected. Disconnect and quit?"),
                               false);
    place(question, right);
    auto *update = new MMessageBox(frame);
    update->ShowMessageCustomized(tr("Install the update"),
                                  tr("Do you want to close program to install the new version?"),
                                  tr("Install"), tr("Later"));
    place(update, right);
    auto *all = new MMessageBox(frame);
    all->ShowMessageYesNoAll(tr("Replace"), tr("Replace the saved configuration?"));
    place(all, right);

    QTimer::singleShot(300, frame, [frame] {
        QWidget *target = frame->balloonTarget();
        if (!target)
            return;
        const QPoint pos = target->mapToGlobal(QPoint(12, target->height()));
        QBalloonTip::showBalloon(QSystemTrayIcon::Information, tr("Kill switch"),
                                 tr("Blocks all traffic outside the tunnel while the VPN "
                                    "is not connected.<br>Closes after its time-out or on a "
                                    "click."),
                                 pos, kBalloonMs, true);
    });
}
