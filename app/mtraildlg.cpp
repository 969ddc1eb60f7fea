#include "mtraildlg.h"

#include "mutils.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

int px(double value)
{
    return int(value * Ratio());
}

} // namespace

MTrailDlg::MTrailDlg(QWidget *parent)
    : MBaseDialog(parent)
{
    setTitle(tr("Account Expired"));
    setMinEnable(false);
    setMaxEnable(false);
    setShowIcon(true);
    setFixedSize(px(380), px(200));
    setBtns(DB_None);

    auto *body = new QWidget(this);
    auto *column = new QVBoxLayout(body);
    column->setContentsMargins(px(20), px(15), px(20), px(15));
    column->setSpacing(px(10));

    m_message = new QLabel(tr("Your account has expired.Please buy Quellnet services"), body);
    m_message->setObjectName(QStringLiteral("LbTrailMessage"));
    m_message->setWordWrap(true);
    m_hint = new QLabel(
        tr("If you have already purchased,please re-login to renew the information"), body);
    m_hint->setObjectName(QStringLiteral("LbTrailHint"));
    m_hint->setWordWrap(true);

    m_later = new QPushButton(tr("Later"), body);
    m_later->setObjectName(QStringLiteral("BtnDialog"));
    m_later->setFixedSize(px(100), px(25));
    m_buyNow = new QPushButton(tr("Buy Now"), body);
    m_buyNow->setObjectName(QStringLiteral("BtnBuyNow"));
    m_buyNow->setFixedSize(px(100), px(25));
    m_buyNow->setDefault(true);

    // Like the other dialogs: the affirmative choice on the right.
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(px(10));
    buttons->addStretch(1);
    buttons->addWidget(m_later);
    buttons->addWidget(m_buyNow);

    column->addWidget(m_message);
    column->addWidget(m_hint);
    column->addStretch(1);
    column->addLayout(buttons);
    setContentWidget(body);

    connect(m_buyNow, &QPushButton::clicked, this, [this] { done(BuyNow); });
    connect(m_later, &QPushButton::clicked, this, [this] { done(Later); });
}

MTrailDlg::~MTrailDlg() = default;
