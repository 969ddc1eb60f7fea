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

#include <climits>
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
    QString defaultText; // the button styled as the default one
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
            if (!button->isVisible())
                continue;
            seen->visibleTexts << button->text();
            if (button->objectName() == QLatin1String("BtnDefault"))
                seen->defaultText = button->text();
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

enum Form { Question, QuestionAll, OkCancel, Error, Info, CustomOkOnly, CustomBoth };

// A button to click; the two extra values close the box without one.
enum Answer : int { CloseFromTitleBar = -1, PressEscape = -2 };

constexpr int kNoResult = INT_MIN; // the error and info forms return nothing

} // namespace

Q_DECLARE_METATYPE(Form)

class TestMMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void buttonsCarryTheStyleSheetNames();
    void eachFormShowsItsButtonsAndReturnsTheAnswer_data();
    void eachFormShowsItsButtonsAndReturnsTheAnswer();
    void boxIsCentredOnParentAndDeletedAfterwards();
    void messageTakesTheRowBesideTheIcon();
    void messageLinksOpenExternally();
    void fourLinesAndFourButtonsFitTheBox();
};

void TestMMessageBox::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestMMessageBox::buttonsCarryTheStyleSheetNames()
{
    MMessageBox box;
    QCOMPARE(box.objectName(), QStringLiteral("MessageBoxPanel"));
    QCOMPARE(box.getMessageLabel()->objectName(), QStringLiteral("msgBoxLable"));
    QVERIFY(box.getMessageLabel()->wordWrap());

    box.ShowMessageYesNo(QStringLiteral("T"), QStringLiteral("M"), false);
    QPushButton *yes = box.getButtonBox()->button(QDialogButtonBox::Yes);
    QPushButton *no = box.getButtonBox()->button(QDialogButtonBox::No);
    QCOMPARE(yes->objectName(), QStringLiteral("BtnDefault"));
    QVERIFY(yes->isDefault());
    QCOMPARE(no->objectName(), QStringLiteral("BtnDialog"));
    QVERIFY(!no->isDefault());

    // Each fill makes new buttons.
    box.ShowMessageYesNo(QStringLiteral("T"), QStringLiteral("M"), true);
    QCOMPARE(box.getButtonBox()->button(QDialogButtonBox::Yes)->text(), QStringLiteral("OK"));
    QCOMPARE(box.getButtonBox()->button(QDialogButtonBox::No)->text(), QStringLiteral("Cancel"));
}

void TestMMessageBox::eachFormShowsItsButtonsAndReturnsTheAnswer_data()
{
    QTest::addColumn<Form>("form");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<QString>("icon");

    const QStringList yesNo{QStringLiteral("No"), QStringLiteral("Yes")};
    const QStringList all{QStringLiteral("No"), QStringLiteral("No to All"), QStringLiteral("Yes"),
                          QStringLiteral("Yes to All")};
    const QStringList okCancel{QStringLiteral("Cancel"), QStringLiteral("OK")};
    const QString question = QStringLiteral("question.png");
    const QString info = QStringLiteral("info.png");

    QTest::newRow("question yes") << Question << int(QDialogButtonBox::Yes) << 1 << yesNo
                                  << QStringLiteral("Yes") << question;
    QTest::newRow("question no") << Question << int(QDialogButtonBox::No) << -1 << yesNo
                                 << QStringLiteral("Yes") << question;
    QTest::newRow("question closed")
        << Question << int(CloseFromTitleBar) << 0 << yesNo << QStringLiteral("Yes") << question;
    QTest::newRow("all yes") << QuestionAll << int(QDialogButtonBox::Yes) << 1 << all << QString()
                             << question;
    QTest::newRow("all yes to all")
        << QuestionAll << int(QDialogButtonBox::YesToAll) << 2 << all << QString() << question;
    QTest::newRow("all no") << QuestionAll << int(QDialogButtonBox::No) << -1 << all << QString()
                            << question;
    QTest::newRow("all no to all")
        << QuestionAll << int(QDialogButtonBox::NoToAll) << -2 << all << QString() << question;
    QTest::newRow("all closed") << QuestionAll << int(CloseFromTitleBar) << 0 << all << QString()
                                << question;
    QTest::newRow("ok/cancel ok") << OkCancel << int(QDialogButtonBox::Ok) << 1 << okCancel
                                  << QStringLiteral("OK") << info;
    QTest::newRow("ok/cancel cancel") << OkCancel << int(QDialogButtonBox::Cancel) << -1 << okCancel
                                      << QStringLiteral("OK") << info;
    QTest::newRow("ok/cancel escape")
        << OkCancel << int(PressEscape) << 0 << okCancel << QStringLiteral("OK") << info;
    QTest::newRow("error") << Error << int(QDialogButtonBox::Ok) << kNoResult
                           << QStringList{QStringLiteral("Ok")} << QStringLiteral("Ok")
                           << QStringLiteral("error.png");
    QTest::newRow("info") << Info << int(QDialogButtonBox::Ok) << kNoResult
                          << QStringList{QStringLiteral("Ok")} << QStringLiteral("Ok") << info;
    QTest::newRow("customised, no cancel text")
        << CustomOkOnly << int(QDialogButtonBox::Ok) << 1 << QStringList{QStringLiteral("Buy")}
        << QStringLiteral("Buy") << info;
    QTest::newRow("customised, both") << CustomBoth << int(QDialogButtonBox::Cancel) << -1
                                      << QStringList{QStringLiteral("Buy"), QStringLiteral("Later")}
                                      << QStringLiteral("Buy") << info;
}

void TestMMessageBox::eachFormShowsItsButtonsAndReturnsTheAnswer()
{
    QFETCH(Form, form);
    QFETCH(int, answer);
    QFETCH(int, result);
    QFETCH(QStringList, buttons);
    QFETCH(QString, defaultButton);
    QFETCH(QString, icon);

    Seen seen;
    answerWhenShown(&seen, [answer](MMessageBox *box) {
        if (answer == CloseFromTitleBar)
            QTest::mouseClick(box->getTitleBar()->getCloseButton(), Qt::LeftButton);
        else if (answer == PressEscape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            click(QDialogButtonBox::StandardButton(answer))(box);
    });
    const QString title = QStringLiteral("Title");
    const QString text = QStringLiteral("Go on?");
    int got = kNoResult;
    switch (form) {
    case Question:
        got = MMessageBox::ShowMessageBoxQuesion(title, text, nullptr);
        break;
    case QuestionAll:
        got = MMessageBox::ShowMessageBoxQuesionAll(title, text, nullptr);
        break;
    case OkCancel:
        got = MMessageBox::ShowMessageBoxOkCancel(title, text, nullptr);
        break;
    case Error:
        MMessageBox::ShowMessageBoxError(title, text, nullptr);
        break;
    case Info:
        MMessageBox::ShowMessageBoxInfo(title, text, nullptr);
        break;
    case CustomOkOnly:
        got = MMessageBox::ShowMessageBoxCustomized(title, text, QStringLiteral("Buy"), QString(),
                                                    nullptr);
        break;
    case CustomBoth:
        got = MMessageBox::ShowMessageBoxCustomized(title, text, QStringLiteral("Buy"),
                                                    QStringLiteral("Later"), nullptr);
        break;
    }
    QVERIFY(seen.box);
    QCOMPARE(got, result);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, text);
    seen.visibleTexts.sort();
    QCOMPARE(seen.visibleTexts, buttons);
    QCOMPARE(seen.defaultText, defaultButton);
    QVERIFY2(seen.iconSheet.contains(icon), qPrintable(seen.iconSheet));
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
    QVERIFY(seen.box);
    QCOMPARE(seen.pos,
             origin + QPoint((500 - seen.box->width()) / 2, (400 - seen.box->height()) / 2));
    QVERIFY(!seen.box->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(seen.box.isNull());
}

void TestMMessageBox::messageTakesTheRowBesideTheIcon()
{
    MMessageBox box;
    box.ShowMessageOK(QStringLiteral("T"),
                      QStringLiteral("A message long enough to need the whole width of its row"),
                      false);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTRY_COMPARE(box.getMessageLabel()->width(), box.getMessageLabel()->maximumWidth());
    QVERIFY(box.getIconLabel()->geometry().right() < box.getMessageLabel()->geometry().left());
}

void TestMMessageBox::messageLinksOpenExternally()
{
    MMessageBox box;
    box.ShowMessageOK(QStringLiteral("Link"),
                      QStringLiteral("See <a href='https://example.invalid/'>here</a>"), false);
    QVERIFY(box.getMessageLabel()->openExternalLinks());
    QVERIFY(Qt::mightBeRichText(box.getMessageLabel()->text()));
}

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

QTEST_MAIN(TestMMessageBox)
#include "tst_mmessagebox.moc"
