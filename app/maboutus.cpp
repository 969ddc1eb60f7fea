#include "maboutus.h"

#include "mconfig.h"
#include "mutils.h"

#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

int px(double value)
{
    return int(value * Ratio());
}

QString hrefAttribute(const QString &url)
{
    // Qt's rich text takes attribute values as they stand, entities included, so a quote
    // is percent-encoded instead: the same address, and the ' quoting stays intact.
    QString value = url;
    return value.replace(QLatin1Char('\''), QStringLiteral("%27"));
}

// Caption in the first column, value over the other two.
QLabel *addRow(QGridLayout *grid, int row, const QString &caption, const QString &value,
               const QString &valueName, const QString &captionName)
{
    QWidget *owner = grid->parentWidget();
    auto *captionLabel = new QLabel(caption + QStringLiteral("  "), owner);
    captionLabel->setObjectName(captionName);
    auto *valueLabel = new QLabel(value, owner);
    valueLabel->setObjectName(valueName);
    grid->addWidget(captionLabel, row, 0);
    grid->addWidget(valueLabel, row, 1, 1, 2);
    return valueLabel;
}

} // namespace

MAboutUS::MAboutUS(QWidget *parent)
    : MBaseDialog(parent)
{
    const MConfig *config = MConfig::instance();
    setTitle(tr("About ") + config->appName);
    setMinEnable(false);
    setMaxEnable(false);
    setShowIcon(true);
    setFixedSize(px(400), px(250));

    auto *body = new QWidget(this);
    auto *grid = new QGridLayout(body);
    grid->setContentsMargins(px(30), px(20), px(30), px(10));
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(px(10));

    auto *heading = new QLabel(config->appName, body);
    heading->setObjectName(QStringLiteral("LbAboutTitle"));
    // The application sheet fixes every widget's font size; only the label's own sheet wins.
    heading->setStyleSheet(QStringLiteral("font-size: 20px; font-weight: bold;"));
    grid->addWidget(heading, 0, 0, 1, 3);

    addRow(grid, 1, tr("Version:"), getVer(), QStringLiteral("LbAboutVersion"),
           QStringLiteral("LbAboutVersionCaption"));
    QLabel *website
        = addRow(grid, 2, tr("Website:"), linkHtml(config->webUrl, config->webUrl),
                 QStringLiteral("LbAboutWebsite"), QStringLiteral("LbAboutWebsiteCaption"));
    QLabel *support
        = addRow(grid, 3, tr("Support:"),
                 linkHtml(QStringLiteral("mailto:") + config->supportEmail, config->supportEmail),
                 QStringLiteral("LbAboutSupport"), QStringLiteral("LbAboutSupportCaption"));
    for (QLabel *link : {website, support}) {
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
        link->setOpenExternalLinks(true);
    }

    auto *notice = new QLabel(
        tr("Copyright © %1 Quellnet. All rights reserved.").arg(QDate::currentDate().year()), body);
    notice->setObjectName(QStringLiteral("LbAboutNotice"));
    notice->setWordWrap(true);
    grid->addWidget(notice, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);

    setContentWidget(body);
    setBtns(DB_Close);
    getBtn(0)->setDefault(true);
}

MAboutUS::~MAboutUS() = default;

QString MAboutUS::linkHtml(const QString &href, const QString &text)
{
    return QStringLiteral("<a href='") + hrefAttribute(href)
        + QStringLiteral("' style='color:#efefef;'>") + text.toHtmlEscaped()
        + QStringLiteral("</a>");
}
