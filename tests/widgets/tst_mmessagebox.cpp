#include "mmessagebox.h"
#include "modaldriver.h"
#include "mtitlebar.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QtTest>

#include <climits>

namespace {

// What the test saw of the box it answered.
struct Seen
{
    QString text; // title and message
    QStringList visibleTexts;
    QPoint pos;
    QSize size;
};

ModalDriver::Action recordThen(Seen *seen, ModalDriver::Action answer)
{
    return [=](QWidget *modal) {
        auto *box = qobject_cast<MMessageBox *>(modal);
        QVERIFY(box);
        seen->text = box->windowTitle() + '|' + box->getMessageLabel()->text();
        seen->pos = box->pos();
        seen->size = box->size();
        for (QAbstractButton *button : box->getButtonBox()->buttons()) {
            if (button->isVisible())
                seen->visibleTexts << button->text();
        }
        answer(box);
    };
}

enum Form { Question, QuestionAll, OkCancel, Error, CustomOkOnly, CustomBoth };
enum Answer : int { CloseFromTitleBar = -1, PressEscape = -2 };
constexpr int kNoResult = INT_MIN; // the error and info forms return nothing

} // namespace

Q_DECLARE_METATYPE(Form)

class TestMMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void eachFormShowsItsButtonsAndReturnsTheAnswer_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("buttons");

        const QStringList yesNo{QStringLiteral("No"), QStringLiteral("Yes")};
        const QStringList all{QStringLiteral("No"), QStringLiteral("No to All"),
                              QStringLiteral("Yes"), QStringLiteral("Yes to All")};
        const QStringList okCancel{QStringLiteral("Cancel"), QStringLiteral("OK")};
        using B = QDialogButtonBox;

        QTest::newRow("question yes") << Question << int(B::Yes) << 1 << yesNo;
        QTest::newRow("question no") << Question << int(B::No) << -1 << yesNo;
        QTest::newRow("all yes to all") << QuestionAll << int(B::YesToAll) << 2 << all;
        QTest::newRow("all no to all") << QuestionAll << int(B::NoToAll) << -2 << all;
        QTest::newRow("all closed") << QuestionAll << int(CloseFromTitleBar) << 0 << all;
        QTest::newRow("ok/cancel cancel") << OkCancel << int(B::Cancel) << -1 << okCancel;
        QTest::newRow("ok/cancel escape") << OkCancel << int(PressEscape) << 0 << okCancel;
        QTest::newRow("error") << Error << int(B::Ok) << kNoResult
                               << QStringList{QStringLiteral("Ok")};
        QTest::newRow("customised, no cancel text")
            << CustomOkOnly << int(B::Ok) << 1 << QStringList{QStringLiteral("Buy")};
        QTest::newRow("customised, both")
            << CustomBoth << int(B::Cancel) << -1
            << QStringList{QStringLiteral("Buy"), QStringLiteral("Later")};
    }

    void eachFormShowsItsButtonsAndReturnsTheAnswer()
    {
        QFETCH(Form, form);
        QFETCH(int, answer);
        QFETCH(int, result);
        QFETCH(QStringList, buttons);

        Seen seen;
        ModalDriver driver(recordThen(&seen, [answer](QWidget *box) {
            if (answer == CloseFromTitleBar)
                QTest::mouseClick(static_cast<MMessageBox *>(box)->getTitleBar()->getCloseButton(),
                                  Qt::LeftButton);
            else if (answer == PressEscape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                ModalDriver::click(QDialogButtonBox::StandardButton(answer))(box);
        }));
        const QString title = QStringLiteral("Title");
        const QString text = QStringLiteral("Go on?");
        const QString buy = QStringLiteral("Buy");
        int got = kNoResult;
        if (form == Question)
            got = MMessageBox::ShowMessageBoxQuesion(title, text, nullptr);
        else if (form == QuestionAll)
            got = MMessageBox::ShowMessageBoxQuesionAll(title, text, nullptr);
        else if (form == OkCancel)
            got = MMessageBox::ShowMessageBoxOkCancel(title, text, nullptr);
        else if (form == Error)
            MMessageBox::ShowMessageBoxError(title, text, nullptr);
        else
            got = MMessageBox::ShowMessageBoxCustomized(
                title, text, buy, form == CustomBoth ? QStringLiteral("Later") : QString(),
                nullptr);
        QVERIFY(driver.answered());
        QCOMPARE(got, result);
        QCOMPARE(seen.text, title + '|' + text);
        seen.visibleTexts.sort();
        QCOMPARE(seen.visibleTexts, buttons);
    }

    void boxIsCentredOnParentAndDeletedAfterwards()
    {
        QWidget parent;
        parent.setGeometry(100, 80, 500, 400);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QPoint origin = parent.mapToGlobal(QPoint(0, 0));

        Seen seen;
        ModalDriver driver(recordThen(&seen, ModalDriver::click(QDialogButtonBox::Yes)));
        QCOMPARE(
            MMessageBox::ShowMessageBoxQuesion(QStringLiteral("Q"), QStringLiteral("?"), &parent),
            1);
        QVERIFY(driver.answered());
        QCOMPARE(seen.pos,
                 origin + QPoint((500 - seen.size.width()) / 2, (400 - seen.size.height()) / 2));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!driver.modal());
    }

    void fourLinesAndFourButtonsFitTheBox()
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
        QLabel *label = box.getMessageLabel();
        const int textBottom
            = label->mapTo(&box, QPoint(0, 0)).y() + label->heightForWidth(label->width());
        QVERIFY2(textBottom <= used.top(),
                 qPrintable(QStringLiteral("%1 > %2").arg(textBottom).arg(used.top())));
    }
};

// A layout regression: the fourth button and the fourth line once fell outside the box.

QTEST_MAIN(TestMMessageBox)
#include "tst_mmessagebox.moc"
