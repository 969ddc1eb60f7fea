#include "infopages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

PurchasePage::PurchasePage(QWidget *parent)
    : Page(tr("Purchase"), parent)
{
    auto *note = new QLabel(tr("After purchase, please re-login your account"), this);
    note->setWordWrap(true);
    addWidget(note);
    addSpacing(scaled(6));
    const QString captions[3] = {tr("1 Month"), tr("3 Months"), tr("2 Years")};
    for (int i = 0; i < 3; ++i) {
        m_offers[i] = makeButton(QStringLiteral("BTNOffer%1").arg(i + 1), QString(), this);
        m_offers[i]->setText(captions[i]);
        m_offers[i]->setMinimumHeight(scaled(40));
        addWidget(m_offers[i]);
        connect(m_offers[i], &QPushButton::clicked, this, [this, i] { emit offerClicked(i); });
    }
    m_offers[2]->setProperty("primary", true);
    addSpacing(scaled(10));
    m_badge = new QLabel(this);
    m_badge->setObjectName(QStringLiteral("LbMoneyBack"));
    m_badge->setFixedSize(scaled(220), scaled(51));
    addWidget(m_badge, 1);
    addStretch(1);
}

void PurchasePage::showEvent(QShowEvent *event)
{
    // The drawing (an SVG, and the plug-in that renders it) is loaded when the page is first
    // seen, not with the window.
    if (m_badge->styleSheet().isEmpty())
        m_badge->setStyleSheet(QStringLiteral("border-image:url(:/wnd/money-back-software.svg);"));
    Page::showEvent(event);
}

void PurchasePage::setOffer(int index, const QString &caption, const QString &buyUrl)
{
    if (index < 0 || index >= 3)
        return;
    m_offers[index]->setText(caption);
    m_offers[index]->setProperty("url", buyUrl);
}

HelpPage::HelpPage(QWidget *parent)
    : Page(tr("Help"), parent)
{
    auto *grid = new QGridLayout;
    grid->setContentsMargins(scaled(50), scaled(10), scaled(50), scaled(10));
    grid->setSpacing(scaled(10));
    const QString texts[4]
        = {tr("Rate App"), tr("Online Help"), tr("HelpDesk"), tr("Check Update")};
    QPushButton *buttons[4] = {};
    for (int i = 0; i < 4; ++i) {
        buttons[i] = makeButton(QStringLiteral("BTNFun"), QString(), this);
        buttons[i]->setText(texts[i]);
        grid->addWidget(buttons[i], i, 0);
    }
    addLayout(grid);
    // Outside the button column: long translations need the page's whole width.
    m_autoRun = new QCheckBox(tr("Launch on system startup"), this);
    m_autoRun->setObjectName(QStringLiteral("CkbAutoRun"));
    addWidget(m_autoRun);
    getLayout()->setAlignment(m_autoRun, Qt::AlignHCenter);
    addStretch(1);

    // "Rate App" does nothing.
    connect(buttons[1], &QPushButton::clicked, this, &HelpPage::onlineHelpClicked);
    connect(buttons[2], &QPushButton::clicked, this, &HelpPage::helpDeskClicked);
    connect(buttons[3], &QPushButton::clicked, this, &HelpPage::checkUpdateClicked);
    connect(m_autoRun, &QCheckBox::toggled, this, &HelpPage::autoRunToggled);
}

void HelpPage::setAutoRun(bool on)
{
    const QSignalBlocker quiet(m_autoRun);
    m_autoRun->setChecked(on);
}
