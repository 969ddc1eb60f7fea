// The About box and the expired-account dialog on the offscreen platform, styled by the
// application sheets: texts from MConfig, links, layout, and the result of each way out.

#include "maboutus.h"
#include "mconfig.h"
#include "mpanel.h"
#include "mtitlebar.h"
#include "mtraildlg.h"
#include "mutils.h"
#include "resinit.h"

#include <QApplication>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

int px(double value)
{
    return int(value * Ratio());
}

struct Anchor
{
    QString href;
    QString text;
};

// The links of a rich-text label as the label itself reads them.
QList<Anchor> anchorsOf(const QLabel *label)
{
    QTextDocument document;
    document.setHtml(label->text());
    QList<Anchor> anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isAnchor())
                anchors << Anchor{fragment.charFormat().anchorHref(), fragment.text()};
        }
    }
    // An empty link has no fragment; its href still stands in the markup.
    if (anchors.isEmpty() && label->text().startsWith(QStringLiteral("<a href='")))
        anchors << Anchor{label->text().section(QLatin1Char('\''), 1, 1), QString()};
    return anchors;
}

struct RunResult
{
    int code = 0;
    bool actionRan = false;
    bool fellBack = false;
};

// exec()s the dialog, runs action once it is shown; a fallback rejects after 5 s so a
// missed click can never hang the test.
RunResult execWith(QDialog &dialog, const std::function<void()> &action)
{
    auto state = std::make_shared<RunResult>();
    auto tries = std::make_shared<int>(0);
    auto *poll = new QTimer(&dialog);
    QObject::connect(poll, &QTimer::timeout, &dialog, [=, &dialog] {
        if (!dialog.isVisible() && ++*tries < 200)
            return;
        poll->stop();
        poll->deleteLater();
        if (dialog.isVisible()) {
            state->actionRan = true;
            action();
        }
    });
    QTimer::singleShot(0, &dialog, [poll] { poll->start(10); });
    QTimer::singleShot(5000, &dialog, [state, &dialog] {
        if (dialog.isVisible()) {
            state->fellBack = true;
            dialog.reject();
        }
    });
    state->code = dialog.exec();
    return *state;
}

QPoint gridCell(const QLabel *label, int *rowSpan = nullptr, int *columnSpan = nullptr)
{
    auto *grid = qobject_cast<QGridLayout *>(label->parentWidget()->layout());
    if (!grid)
        return QPoint(-1, -1);
    int row = -1, column = -1, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(const_cast<QLabel *>(label)), &row, &column, &rows,
                          &columns);
    if (rowSpan)
        *rowSpan = rows;
    if (columnSpan)
        *columnSpan = columns;
    return QPoint(column, row);
}

QRect inDialog(const QWidget *widget, const QWidget *dialog)
{
    return QRect(widget->mapTo(dialog, QPoint(0, 0)), widget->size());
}

} // namespace

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aboutTitleChromeAndButtons();
    void aboutRowsShowConfigAndVersion();
    void aboutNoticeCarriesCurrentYear();
    void aboutLinksEscapeMarkup();
    void aboutEmptySupportKeepsRow();
    void aboutLabelsFitAndDoNotOverlap();
    void aboutCloseButtonAccepts();

    void trailSizeTextsAndChrome();
    void trailButtonsSitBelowTextRightAligned();
    void trailBuyNowReturnsOne();
    void trailLaterReturnsMinusOne();
    void trailTitleBarCloseIsNeither();

private:
    QString m_appName;
    QString m_webUrl;
    QString m_supportEmail;
};

void DialogsTest::initTestCase()
{
    quellnetInitResources();
    qApp->setStyleSheet(ReadFileX(QStringLiteral(":/light.qss"))
                        + ReadFileX(QStringLiteral(":/comm.qss")));
    MConfig *config = MConfig::instance();
    m_appName = config->appName;
    m_webUrl = config->webUrl;
    m_supportEmail = config->supportEmail;
}

void DialogsTest::init()
{
    MConfig *config = MConfig::instance();
    config->appName = QStringLiteral("Testnet");
    config->webUrl = QStringLiteral("https://www.testnet.example/");
    config->supportEmail = QStringLiteral("help@testnet.example");
}

void DialogsTest::cleanup()
{
    MConfig *config = MConfig::instance();
    config->appName = m_appName;
    config->webUrl = m_webUrl;
    config->supportEmail = m_supportEmail;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DialogsTest::aboutTitleChromeAndButtons()
{
    MAboutUS about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Testnet"));
    QCOMPARE(about.getTitleBar()->getTitleLabel()->text(), QStringLiteral("  About Testnet"));
    QVERIFY(about.getTitleBar()->getMinButton()->isHidden());
    QVERIFY(about.getTitleBar()->getMaxButton()->isHidden());
    QVERIFY(!about.getTitleBar()->getCloseButton()->isHidden());
    QVERIFY(!about.getTitleBar()->getIconLabel()->isHidden());

    QVERIFY(!about.getFooterPanel()->isHidden());
    QVERIFY(!about.getBtn(0)->isHidden());
    QCOMPARE(about.getBtn(0)->text(), QStringLiteral("Close"));
    for (int i = 1; i < 4; ++i)
        QVERIFY(about.getBtn(i)->isHidden());

    auto *heading = about.findChild<QLabel *>(QStringLiteral("LbAboutTitle"));
    QVERIFY(heading);
    QCOMPARE(heading->text(), QStringLiteral("Testnet"));
    int rows = 0, columns = 0;
    QCOMPARE(gridCell(heading, &rows, &columns), QPoint(0, 0));
    QCOMPARE(columns, 3);

    auto *caption = about.findChild<QLabel *>(QStringLiteral("LbAboutVersionCaption"));
    QVERIFY(caption);
    heading->ensurePolished();
    caption->ensurePolished();
    QVERIFY(heading->font().bold());
    QVERIFY(QFontInfo(heading->font()).pixelSize() > QFontInfo(caption->font()).pixelSize());
}

void DialogsTest::aboutRowsShowConfigAndVersion()
{
    MAboutUS about;
    const struct
    {
        const char *name;
        QString caption;
        int row;
    } rows[] = {
        {"LbAboutVersion", QStringLiteral("Version:  "), 1},
        {"LbAboutWebsite", QStringLiteral("Website:  "), 2},
        {"LbAboutSupport", QStringLiteral("Support:  "), 3},
    };
    for (const auto &row : rows) {
        const QString name = QString::fromLatin1(row.name);
        auto *value = about.findChild<QLabel *>(name);
        auto *caption = about.findChild<QLabel *>(name + QStringLiteral("Caption"));
        QVERIFY2(value && caption, row.name);
        QCOMPARE(caption->text(), row.caption);
        QCOMPARE(gridCell(caption), QPoint(0, row.row));
        QCOMPARE(gridCell(value), QPoint(1, row.row));
    }

    auto *version = about.findChild<QLabel *>(QStringLiteral("LbAboutVersion"));
    QCOMPARE(version->text(), getVer());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                .match(version->text())
                .hasMatch());

    auto *website = about.findChild<QLabel *>(QStringLiteral("LbAboutWebsite"));
    QCOMPARE(website->text(),
             QStringLiteral("<a href='https://www.testnet.example/' "
                            "style='color:#efefef;'>https://www.testnet."
                            "example/</a>"));
    QCOMPARE(website->textFormat(), Qt::RichText);
    QVERIFY(website->openExternalLinks());
    QVERIFY(website->textInteractionFlags() & Qt::LinksAccessibleByMouse);
    const QList<Anchor> webLinks = anchorsOf(website);
    QCOMPARE(webLinks.size(), 1);
    QCOMPARE(webLinks.at(0).href, MConfig::instance()->webUrl);
    QCOMPARE(webLinks.at(0).text, MConfig::instance()->webUrl);

    auto *support = about.findChild<QLabel *>(QStringLiteral("LbAboutSupport"));
    QCOMPARE(support->text(),
             QStringLiteral("<a href='mailto:help@testnet.example' "
                            "style='color:#efefef;'>help@testnet.example</a>"));
    QCOMPARE(support->textFormat(), Qt::RichText);
    QVERIFY(support->openExternalLinks());
    const QList<Anchor> mailLinks = anchorsOf(support);
    QCOMPARE(mailLinks.size(), 1);
    QCOMPARE(mailLinks.at(0).href, QStringLiteral("mailto:help@testnet.example"));
    QCOMPARE(mailLinks.at(0).text, QStringLiteral("help@testnet.example"));
}

void DialogsTest::aboutNoticeCarriesCurrentYear()
{
    MAboutUS about;
    auto *notice = about.findChild<QLabel *>(QStringLiteral("LbAboutNotice"));
    QVERIFY(notice);
    const int year = QDate::currentDate().year();
    QCOMPARE(notice->text(),
             QStringLiteral("Copyright \u00a9 %1 Quellnet. All rights reserved.").arg(year));
    QVERIFY(notice->text().contains(QString::number(year)));
    QVERIFY(!notice->text().contains(QStringLiteral("%1")));
    int rows = 0, columns = 0;
    QCOMPARE(gridCell(notice, &rows, &columns), QPoint(0, 4));
    QCOMPARE(columns, 3);
}

void DialogsTest::aboutLinksEscapeMarkup()
{
    MConfig::instance()->webUrl = QStringLiteral("https://testnet.example/?a=1&b='2'");
    MConfig::instance()->supportEmail = QStringLiteral("a<b>@testnet.example");
    MAboutUS about;
    const QList<Anchor> web
        = anchorsOf(about.findChild<QLabel *>(QStringLiteral("LbAboutWebsite")));
    QCOMPARE(web.size(), 1);
    QCOMPARE(web.at(0).href, QStringLiteral("https://testnet.example/?a=1&b=%272%27"));
    QCOMPARE(QUrl::fromPercentEncoding(web.at(0).href.toUtf8()), MConfig::instance()->webUrl);
    QCOMPARE(web.at(0).text, MConfig::instance()->webUrl);
    const QList<Anchor> mail
        = anchorsOf(about.findChild<QLabel *>(QStringLiteral("LbAboutSupport")));
    QCOMPARE(mail.size(), 1);
    QCOMPARE(mail.at(0).href, QStringLiteral("mailto:a<b>@testnet.example"));
    QCOMPARE(mail.at(0).text, QStringLiteral("a<b>@testnet.example"));
}

void DialogsTest::aboutEmptySupportKeepsRow()
{
    MConfig::instance()->supportEmail.clear();
    MAboutUS about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *caption = about.findChild<QLabel *>(QStringLiteral("LbAboutSupportCaption"));
    auto *support = about.findChild<QLabel *>(QStringLiteral("LbAboutSupport"));
    QVERIFY(caption && support);
    QVERIFY(caption->isVisible());
    QVERIFY(support->isVisible());
    QCOMPARE(caption->text(), QStringLiteral("Support:  "));
    QCOMPARE(support->text(), QStringLiteral("<a href='mailto:' style='color:#efefef;'></a>"));
    const QList<Anchor> links = anchorsOf(support);
    QCOMPARE(links.size(), 1);
    QCOMPARE(links.at(0).href, QStringLiteral("mailto:"));
    QVERIFY(links.at(0).text.isEmpty());
    // The notice keeps its place below the support row.
    auto *notice = about.findChild<QLabel *>(QStringLiteral("LbAboutNotice"));
    QVERIFY(notice->geometry().top() >= caption->geometry().bottom());
}

void DialogsTest::aboutLabelsFitAndDoNotOverlap()
{
    MAboutUS about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QRect client = about.rect();
    const QRect button = inDialog(about.getBtn(0), &about);
    QList<QRect> taken;
    for (QLabel *label : about.getCenterPanel()->findChildren<QLabel *>()) {
        const QRect box = inDialog(label, &about);
        QVERIFY2(client.contains(box), qPrintable(label->objectName()));
        QVERIFY2(!box.intersects(button), qPrintable(label->objectName()));
        QVERIFY2(label->width() >= label->minimumSizeHint().width(),
                 qPrintable(label->objectName()));
        QVERIFY2(label->height() >= label->heightForWidth(label->width())
                     || label->height() >= label->sizeHint().height(),
                 qPrintable(label->objectName()));
        for (const QRect &other : taken)
            QVERIFY2(!box.intersects(other), qPrintable(label->objectName()));
        taken << box;
    }
    QCOMPARE(taken.size(), 8);
}

void DialogsTest::aboutCloseButtonAccepts()
{
    MAboutUS about;
    const RunResult run
        = execWith(about, [&about] { QTest::mouseClick(about.getBtn(0), Qt::LeftButton); });
    QVERIFY(run.actionRan);
    QVERIFY(!run.fellBack);
    QCOMPARE(run.code, int(QDialog::Accepted));
    QVERIFY(!about.isVisible());
}

void DialogsTest::trailSizeTextsAndChrome()
{
    MTrailDlg trail;
    const QSize size(px(380), px(200));
    QCOMPARE(trail.minimumSize(), size);
    QCOMPARE(trail.maximumSize(), size);
    QCOMPARE(trail.size(), size);
    QCOMPARE(trail.windowTitle(), QStringLiteral("Account Expired"));
    QVERIFY(trail.getTitleBar()->getMinButton()->isHidden());
    QVERIFY(trail.getTitleBar()->getMaxButton()->isHidden());
    QVERIFY(!trail.getTitleBar()->getCloseButton()->isHidden());
    QVERIFY(!trail.getTitleBar()->getIconLabel()->isHidden());

    // No standard button set: the footer and its buttons stay hidden.
    QVERIFY(trail.getFooterPanel()->isHidden());
    for (int i = 0; i < 4; ++i)
        QVERIFY(trail.getBtn(i)->isHidden());

    QCOMPARE(trail.messageLabel()->text(),
             QStringLiteral("Your account has expired.Please buy Quellnet services"));
    QCOMPARE(trail.hintLabel()->text(),
             QStringLiteral("If you have already purchased,please re-login to renew the "
                            "information"));
    QVERIFY(trail.messageLabel()->wordWrap());
    QVERIFY(trail.hintLabel()->wordWrap());

    auto *buy = trail.findChild<QPushButton *>(QStringLiteral("BtnBuyNow"));
    QCOMPARE(buy, trail.buyNowButton());
    QCOMPARE(buy->text(), QStringLiteral("Buy Now"));
    QCOMPARE(trail.laterButton()->text(), QStringLiteral("Later"));
    QVERIFY(trail.laterButton()->objectName() != QStringLiteral("BtnBuyNow"));
}

void DialogsTest::trailButtonsSitBelowTextRightAligned()
{
    MTrailDlg trail;
    trail.show();
    QVERIFY(QTest::qWaitForWindowExposed(&trail));
    const QRect client = trail.rect();
    const QRect message = inDialog(trail.messageLabel(), &trail);
    const QRect hint = inDialog(trail.hintLabel(), &trail);
    const QRect later = inDialog(trail.laterButton(), &trail);
    const QRect buy = inDialog(trail.buyNowButton(), &trail);
    for (const QRect &box : {message, hint, later, buy})
        QVERIFY(client.contains(box));
    QVERIFY(message.bottom() < hint.top());
    QVERIFY(hint.bottom() < later.top());
    QVERIFY(later.right() < buy.left());
    QCOMPARE(later.top(), buy.top());
    // Wrapped lines are not cut off.
    for (QLabel *label : {trail.messageLabel(), trail.hintLabel()})
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
    QVERIFY(trail.buyNowButton()->isVisible());
    QVERIFY(trail.laterButton()->isVisible());
}

void DialogsTest::trailBuyNowReturnsOne()
{
    MTrailDlg trail;
    const RunResult run
        = execWith(trail, [&trail] { QTest::mouseClick(trail.buyNowButton(), Qt::LeftButton); });
    QVERIFY(run.actionRan);
    QVERIFY(!run.fellBack);
    QCOMPARE(run.code, 1);
    QVERIFY(!trail.isVisible());
}

void DialogsTest::trailLaterReturnsMinusOne()
{
    MTrailDlg trail;
    const RunResult run
        = execWith(trail, [&trail] { QTest::mouseClick(trail.laterButton(), Qt::LeftButton); });
    QVERIFY(run.actionRan);
    QVERIFY(!run.fellBack);
    QCOMPARE(run.code, -1);
    QVERIFY(!trail.isVisible());
}

void DialogsTest::trailTitleBarCloseIsNeither()
{
    MTrailDlg trail;
    const RunResult run = execWith(trail, [&trail] {
        QTest::mouseClick(trail.getTitleBar()->getCloseButton(), Qt::LeftButton);
    });
    QVERIFY(run.actionRan);
    QVERIFY(!run.fellBack);
    QVERIFY(run.code != 1);
    QVERIFY(run.code != -1);
    QCOMPARE(run.code, int(QDialog::Rejected));
    QVERIFY(!trail.isVisible());
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
