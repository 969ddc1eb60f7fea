// The About box and the expired-account dialog on the offscreen platform, styled by the
// application sheets: links built from settings, layout, and the result of each way out.

#include "maboutus.h"
#include "mconfig.h"
#include "modaldriver.h"
#include "mtitlebar.h"
#include "mtraildlg.h"
#include "mutils.h"
#include "resinit.h"

#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace {

enum Way { FooterButton, BuyNow, Later, TitleBarClose };

std::unique_ptr<MBaseDialog> make(bool expired)
{
    return std::unique_ptr<MBaseDialog>(expired ? static_cast<MBaseDialog *>(new MTrailDlg)
                                                : new MAboutUS);
}

// The link of a rich-text label as the label's own document reads it: href and text.
QStringList linkOf(const QLabel *label)
{
    QTextDocument document;
    document.setHtml(label->text());
    QStringList links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isAnchor())
                links << it.fragment().charFormat().anchorHref() << it.fragment().text();
        }
    }
    return links;
}

} // namespace

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        quellnetInitResources();
        qApp->setStyleSheet(ReadFileX(QStringLiteral(":/light.qss"))
                            + ReadFileX(QStringLiteral(":/comm.qss")));
    }

    void labelsAndButtonsFitWithoutOverlap_data()
    {
        QTest::addColumn<bool>("expired");
        QTest::newRow("about") << false;
        QTest::newRow("expired") << true;
    }
    void labelsAndButtonsFitWithoutOverlap()
    {
        QFETCH(bool, expired);
        const std::unique_ptr<MBaseDialog> dialog = make(expired);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QList<QRect> taken;
        for (QWidget *widget : dialog->findChildren<QWidget *>()) {
            auto *label = qobject_cast<QLabel *>(widget);
            if (!widget->isVisible() || !(label || qobject_cast<QPushButton *>(widget)))
                continue;
            const QByteArray name = widget->objectName().toUtf8();
            const QRect box(widget->mapTo(dialog.get(), QPoint(0, 0)), widget->size());
            QVERIFY2(dialog->rect().contains(box), name.constData());
            for (const QRect &other : qAsConst(taken))
                QVERIFY2(!box.intersects(other), name.constData());
            taken << box;
            // Nothing cut off: wide enough, and tall enough for its wrapped lines.
            QVERIFY2(!label
                         || (label->width() >= label->minimumSizeHint().width()
                             && label->height() >= (label->wordWrap()
                                                        ? label->heightForWidth(label->width())
                                                        : label->minimumSizeHint().height())),
                     name.constData());
        }
        QVERIFY(taken.size() >= 6);
    }

    void waysOutReturnTheirResult_data()
    {
        QTest::addColumn<bool>("expired");
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("result");
        QTest::newRow("about: close button")
            << false << int(FooterButton) << int(QDialog::Accepted);
        QTest::newRow("expired: buy now") << true << int(BuyNow) << 1;
        QTest::newRow("expired: later") << true << int(Later) << -1;
        // Neither buy (1) nor later (-1).
        QTest::newRow("expired: title bar") << true << int(TitleBarClose) << 0;
    }
    void waysOutReturnTheirResult()
    {
        QFETCH(bool, expired);
        QFETCH(int, way);
        QFETCH(int, result);
        const std::unique_ptr<MBaseDialog> dialog = make(expired);
        auto *trail = qobject_cast<MTrailDlg *>(dialog.get());
        QPushButton *buttons[]
            = {dialog->getBtn(0), trail ? trail->buyNowButton() : nullptr,
               trail ? trail->laterButton() : nullptr, dialog->getTitleBar()->getCloseButton()};
        QPushButton *button = buttons[way];
        QVERIFY(button);
        ModalDriver driver([button](QWidget *) { QTest::mouseClick(button, Qt::LeftButton); });
        // A click that does not end the dialog must not hang the test, nor pass for a result.
        QTimer::singleShot(5000, dialog.get(), [&dialog] { dialog->done(99); });
        QCOMPARE(dialog->exec(), result);
        QVERIFY(driver.answered());
    }

    // Last: it leaves its settings behind.
    void aboutLinksEscapeMarkup_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("email");
        QTest::newRow("markup") << "https://testnet.example/?a=1&b='2'\"<i>"
                                << "a<b>@testnet.example";
    }
    void aboutLinksEscapeMarkup()
    {
        QFETCH(QString, url);
        QFETCH(QString, email);
        MConfig::instance()->webUrl = url;
        MConfig::instance()->supportEmail = email;
        MAboutUS about;
        const auto *website = about.findChild<QLabel *>(QStringLiteral("LbAboutWebsite"));
        const auto *support = about.findChild<QLabel *>(QStringLiteral("LbAboutSupport"));
        QVERIFY(website && support && website->openExternalLinks() && support->openExternalLinks());
        // Each shows its text as it is and leads to the same address (a href may percent-encode).
        const QStringList web = linkOf(website);
        QCOMPARE(web.size(), 2);
        QCOMPARE(QUrl::fromPercentEncoding(web.first().toUtf8()), url);
        QCOMPARE(web.last(), url);
        QCOMPARE(linkOf(support), QStringList({QStringLiteral("mailto:") + email, email}));
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
