#include "mmessagebox.h"
#include "mtitlebar.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

MMessageBox *shownBox()
{
    return qobject_cast<MMessageBox *>(QApplication::activeModalWidget());
}

// What the test saw of the box it answered.
struct Seen
{
    QPointer<MMessageBox> box;
    QString title;
    QString text;
    QString iconSheet;
    QStringList visibleTexts;
    QStringList names;
    QPoint pos;
};

// Waits (bounded) for a modal message box, records it, then runs answer on it. A box that
// never shows leaves seen.box null.
void answerWhenShown(Seen *seen, std::function<void(MMessageBox *)> answer)
{
    auto *poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [=] {
        MMessageBox *box = shownBox();
        if (!box && ++*tries < 300)
            return;
        poll->stop();
        poll->deleteLater();
        if (!box)
            return;
        seen->box = box;
        seen->title = box->windowTitle();
        seen->text = box->getMessageLabel()->text();
        seen->iconSheet = box->getIconLabel()->styleSheet();
        seen->pos = box->pos();
        for (QAbstractButton *button : box->getButtonBox()->buttons()) {
            if (button->isVisible())
                seen->visibleTexts << button->text();
            seen->names << button->objectName();
        }
        answer(box);
    });
    poll->start(10);
}

std::function<void(MMessageBox *)> click(QDialogButtonBox::StandardButton which)
{
    return [which](MMessageBox *box) {
        QTest::mouseClick(box->getButtonBox()->button(which), Qt::LeftButton);
    };
}

std::function<void(MMessageBox *)> closeFromTitleBar()
{
    return [](MMessageBox *box) {
        QTest::mouseClick(box->getTitleBar()->getCloseButton(), Qt::LeftButton);
    };
}

} // namespace

class TestMMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void boxIsBuiltToItsFixedLayout();
    void questionReturnsOneMinusOneAndZero();
    void questionAllReturnsAllFourCodes();
    void okCancelReturnsOneAndMinusOne();
    void errorAndInfoShowOneDefaultOkButton();
    void customisedWithEmptyCancelShowsOnlyOk();
    void customisedWithCancelTextShowsBoth();
    void escapeClosesWithZero();
    void boxIsCentredOnParentAndDeletedAfterwards();
    void emptyTitleHidesTitleText();
    void messageTakesTheRowBesideTheIcon();
    void messageLinksOpenExternally();
    void fourLinesAndFourButtonsFitTheBox();
};

void TestMMessageBox::fourLinesAndFourButtonsFitTheBox()
{
    MMessageBox box;
    box.ShowMessageYesNoAll(QStringLiteral("Replace"),
                            QStringLiteral("one line<br/>two lines<br/>three lines<br/>four"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QList<QAbstractButton *> buttons = box.getButtonBox()->buttons();
    QCOMPARE(buttons.size(), 4);
    QRect used;
    for (QAbstractButton *button : buttons) {
        const QRect r(button->mapTo(&box, QPoint(0, 0)), button->size());
        QVERIFY2(box.rect().contains(r), qPrintable(button->text()));
        QVERIFY2(!used.intersects(r), qPrintable(button->text()));
        used = used.united(r);
    }
    // The text ends above the buttons.
    QLabel *label = box.getMessageLabel();
    const int textBottom
        = label->mapTo(&box, QPoint(0, 0)).y() + label->heightForWidth(label->width());
    QVERIFY2(textBottom <= used.top(),
             qPrintable(QStringLiteral("%1 > %2").arg(textBottom).arg(used.top())));
}

void TestMMessageBox::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestMMessageBox::boxIsBuiltToItsFixedLayout()
{
    MMessageBox box;
    QCOMPARE(box.objectName(), QStringLiteral("MessageBoxPanel"));
    QCOMPARE(box.size(), QSize(300, 200));
    QCOMPARE(box.minimumSize(), QSize(300, 200));
    QCOMPARE(box.maximumSize(), QSize(300, 200));
    QCOMPARE(box.windowType(), Qt::Tool);
    QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(box.getMessageLabel()->objectName(), QStringLiteral("msgBoxLable"));
    QCOMPARE(box.getMessageLabel()->maximumWidth(), 180);
    QCOMPARE(box.getMessageLabel()->minimumHeight(), 64);
    QVERIFY(box.getMessageLabel()->wordWrap());
    QCOMPARE(box.getMessageLabel()->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(box.getIconLabel()->size(), QSize(48, 48));
    QCOMPARE(box.getButtonBox()->height(), 25);
    QVERIFY(box.getTitleBar()->getMinButton()->isHidden());
    QVERIFY(box.getTitleBar()->getMaxButton()->isHidden());
    QVERIFY(box.getTitleBar()->getIconLabel()->isHidden());
    for (int i = 0; i < 4; ++i)
        QVERIFY(box.getBtn(i)->isHidden());

    box.ShowMessageYesNo(QStringLiteral("T"), QStringLiteral("M"), false);
    for (QAbstractButton *button : box.getButtonBox()->buttons()) {
        QCOMPARE(button->size(), QSize(100, 25));
        QCOMPARE(button->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    }
    QCOMPARE(box.getButtonBox()->button(QDialogButtonBox::Yes)->objectName(),
             QStringLiteral("BtnDefault"));
    QVERIFY(box.getButtonBox()->button(QDialogButtonBox::Yes)->isDefault());
    QCOMPARE(box.getButtonBox()->button(QDialogButtonBox::No)->objectName(),
             QStringLiteral("BtnDialog"));
    QVERIFY(!box.getButtonBox()->button(QDialogButtonBox::No)->isDefault());

    box.ShowMessageYesNo(QStringLiteral("T"), QStringLiteral("M"), true);
    QCOMPARE(box.getButtonBox()->button(QDialogButtonBox::Yes)->text(), QStringLiteral("OK"));
    QCOMPARE(box.getButtonBox()->button(QDialogButtonBox::No)->text(), QStringLiteral("Cancel"));
}

void TestMMessageBox::questionReturnsOneMinusOneAndZero()
{
    Seen seen;
    answerWhenShown(&seen, click(QDialogButtonBox::Yes));
    QCOMPARE(MMessageBox::ShowMessageBoxQuesion(QStringLiteral("Question"),
                                                QStringLiteral("Go on?"), nullptr),
             1);
    QCOMPARE(seen.title, QStringLiteral("Question"));
    QCOMPARE(seen.text, QStringLiteral("Go on?"));
    QCOMPARE(seen.iconSheet, QStringLiteral("border-image:url(:/MsgBox/question.png);"));
    QCOMPARE(seen.visibleTexts, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));

    answerWhenShown(&seen, click(QDialogButtonBox::No));
    QCOMPARE(MMessageBox::ShowMessageBoxQuesion(QStringLiteral("Q"), QStringLiteral("?"), nullptr),
             -1);

    answerWhenShown(&seen, closeFromTitleBar());
    QCOMPARE(MMessageBox::ShowMessageBoxQuesion(QStringLiteral("Q"), QStringLiteral("?"), nullptr),
             0);
}

void TestMMessageBox::questionAllReturnsAllFourCodes()
{
    const QList<QPair<QDialogButtonBox::StandardButton, int>> cases
        = {{QDialogButtonBox::Yes, 1},
           {QDialogButtonBox::YesToAll, 2},
           {QDialogButtonBox::No, -1},
           {QDialogButtonBox::NoToAll, -2}};
    for (const auto &c : cases) {
        Seen seen;
        answerWhenShown(&seen, click(c.first));
        QCOMPARE(MMessageBox::ShowMessageBoxQuesionAll(QStringLiteral("All"),
                                                       QStringLiteral("Replace?"), nullptr),
                 c.second);
        QCOMPARE(seen.visibleTexts.size(), 4);
        for (const QString &text : {QStringLiteral("Yes"), QStringLiteral("Yes to All"),
                                    QStringLiteral("No"), QStringLiteral("No to All")})
            QVERIFY2(seen.visibleTexts.contains(text), qPrintable(text));
        QVERIFY(!seen.names.contains(QStringLiteral("BtnDefault")));
        QCOMPARE(seen.names.count(QStringLiteral("BtnDialog")), 4);
    }
    Seen closed;
    answerWhenShown(&closed, closeFromTitleBar());
    QCOMPARE(
        MMessageBox::ShowMessageBoxQuesionAll(QStringLiteral("All"), QStringLiteral("?"), nullptr),
        0);
}

void TestMMessageBox::okCancelReturnsOneAndMinusOne()
{
    Seen seen;
    answerWhenShown(&seen, click(QDialogButtonBox::Ok));
    QCOMPARE(
        MMessageBox::ShowMessageBoxOkCancel(QStringLiteral("OC"), QStringLiteral("Sure?"), nullptr),
        1);
    QCOMPARE(seen.visibleTexts.size(), 2);
    QVERIFY(seen.visibleTexts.contains(QStringLiteral("OK")));
    QVERIFY(seen.visibleTexts.contains(QStringLiteral("Cancel")));
    QCOMPARE(seen.iconSheet, QStringLiteral("border-image:url(:/MsgBox/info.png);"));

    answerWhenShown(&seen, click(QDialogButtonBox::Cancel));
    QCOMPARE(
        MMessageBox::ShowMessageBoxOkCancel(QStringLiteral("OC"), QStringLiteral("Sure?"), nullptr),
        -1);
}

void TestMMessageBox::errorAndInfoShowOneDefaultOkButton()
{
    Seen error;
    answerWhenShown(&error, click(QDialogButtonBox::Ok));
    MMessageBox::ShowMessageBoxError(QStringLiteral("Error"), QStringLiteral("Broken"), nullptr);
    QCOMPARE(error.title, QStringLiteral("Error"));
    QCOMPARE(error.iconSheet, QStringLiteral("border-image:url(:/MsgBox/error.png);"));
    QCOMPARE(error.visibleTexts, QStringList{QStringLiteral("Ok")});
    QCOMPARE(error.names, QStringList{QStringLiteral("BtnDefault")});

    Seen info;
    answerWhenShown(&info, click(QDialogButtonBox::Ok));
    MMessageBox::ShowMessageBoxInfo(QStringLiteral("Info"), QStringLiteral("Done"), nullptr);
    QCOMPARE(info.text, QStringLiteral("Done"));
    QCOMPARE(info.iconSheet, QStringLiteral("border-image:url(:/MsgBox/info.png);"));
    QCOMPARE(info.visibleTexts, QStringList{QStringLiteral("Ok")});
}

void TestMMessageBox::customisedWithEmptyCancelShowsOnlyOk()
{
    Seen seen;
    answerWhenShown(&seen, click(QDialogButtonBox::Ok));
    QCOMPARE(MMessageBox::ShowMessageBoxCustomized(QStringLiteral("Custom"), QStringLiteral("Buy?"),
                                                   QStringLiteral("Buy now"), QString(), nullptr),
             1);
    QCOMPARE(seen.visibleTexts, QStringList{QStringLiteral("Buy now")});
    QCOMPARE(seen.iconSheet, QStringLiteral("border-image:url(:/MsgBox/info.png);"));
    QVERIFY(seen.names.contains(QStringLiteral("BtnDefault")));
}

void TestMMessageBox::customisedWithCancelTextShowsBoth()
{
    Seen seen;
    answerWhenShown(&seen, click(QDialogButtonBox::Cancel));
    QCOMPARE(MMessageBox::ShowMessageBoxCustomized(QStringLiteral("Custom"), QStringLiteral("Buy?"),
                                                   QStringLiteral("Buy"), QStringLiteral("Later"),
                                                   nullptr),
             -1);
    QCOMPARE(seen.visibleTexts.size(), 2);
    QVERIFY(seen.visibleTexts.contains(QStringLiteral("Buy")));
    QVERIFY(seen.visibleTexts.contains(QStringLiteral("Later")));
}

void TestMMessageBox::escapeClosesWithZero()
{
    Seen seen;
    answerWhenShown(&seen, [](MMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(
        MMessageBox::ShowMessageBoxOkCancel(QStringLiteral("Esc"), QStringLiteral("?"), nullptr),
        0);
    QVERIFY(seen.box);
}

void TestMMessageBox::boxIsCentredOnParentAndDeletedAfterwards()
{
    QWidget parent;
    parent.setGeometry(100, 80, 500, 400);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const QPoint origin = parent.mapToGlobal(QPoint(0, 0));

    Seen seen;
    answerWhenShown(&seen, click(QDialogButtonBox::Yes));
    QCOMPARE(MMessageBox::ShowMessageBoxQuesion(QStringLiteral("Q"), QStringLiteral("?"), &parent),
             1);
    QCOMPARE(seen.pos, origin + QPoint(250 - 150, 200 - 100));
    QVERIFY(seen.box);
    QVERIFY(!seen.box->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(seen.box.isNull());
}

void TestMMessageBox::emptyTitleHidesTitleText()
{
    MMessageBox box;
    box.ShowMessageOK(QString(), QStringLiteral("text"), false);
    QCOMPARE(box.getTitleBar()->getTitleLabel()->text(), QStringLiteral("  "));
    QVERIFY(box.getTitleBar()->getTitleLabel()->isHidden());
    box.ShowMessageOK(QStringLiteral("T"), QStringLiteral("text"), false);
    QVERIFY(!box.getTitleBar()->getTitleLabel()->isHidden());
}

void TestMMessageBox::messageTakesTheRowBesideTheIcon()
{
    MMessageBox box;
    box.ShowMessageOK(QStringLiteral("T"),
                      QStringLiteral("A message long enough to need the whole width of its row"),
                      false);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTRY_COMPARE(box.getMessageLabel()->width(), 180);
    QVERIFY(box.getIconLabel()->geometry().right() < box.getMessageLabel()->geometry().left());
}

void TestMMessageBox::messageLinksOpenExternally()
{
    MMessageBox box;
    box.ShowMessageOK(QStringLiteral("Link"),
                      QStringLiteral("See <a href='https://example.invalid/'>here</a>"), false);
    QVERIFY(box.getMessageLabel()->openExternalLinks());
    QCOMPARE(box.getMessageLabel()->textFormat(), Qt::AutoText);
    QVERIFY(Qt::mightBeRichText(box.getMessageLabel()->text()));
}

QTEST_MAIN(TestMMessageBox)
#include "tst_mmessagebox.moc"
