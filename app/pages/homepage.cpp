#include "homepage.h"

#include "connectioncontroller.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVariant>

BusyImage::BusyImage(std::function<float()> nextAngle, QWidget *parent)
    : QWidget(parent)
    , m_nextAngle(std::move(nextAngle))
{
    setObjectName(QStringLiteral("WgtBusyImage"));
}

void BusyImage::paintEvent(QPaintEvent *)
{
    // Shown only while connecting: read then, not with the window.
    if (m_pixmap.isNull())
        m_pixmap.load(QStringLiteral(":/wnd/gif_0.png"));
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The image is square: one centre for both axes.
    const qreal centre = width() / 2.0;
    painter.translate(centre, centre);
    painter.rotate(m_nextAngle ? m_nextAngle() : 0);
    painter.translate(-centre, -centre);
    painter.drawPixmap(rect(), m_pixmap);
}

HomePage::HomePage(std::function<float()> spinAngle, QWidget *parent)
    : Page(QString(), parent)
{
    setMarginAndSpaceing(0, 0);
    setContentsMargins(scaled(12), scaled(10), scaled(12), scaled(18));

    QPushButton *login = makeButton(QStringLiteral("BTNLogin"), tr("Login your account"), this);
    login->setFixedSize(scaled(25), scaled(25));
    login->hide();
    QPushButton *help = makeButton(QStringLiteral("BTNHelp"), tr("VPN Help"), this);
    help->setFixedSize(scaled(25), scaled(25));
    auto *top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(login);
    top->addStretch(1);
    top->addWidget(help);
    addLayout(top);

    m_loginLink = makeLink(QStringLiteral("LbLoginLink"), tr("Please login"),
                           QStringLiteral("login"), this);
    m_loginLink->setAlignment(Qt::AlignCenter);
    QFont linkFont = m_loginLink->font();
    linkFont.setPixelSize(scaled(14));
    m_loginLink->setFont(linkFont);
    m_accountLine = new QLabel(this);
    m_accountLine->setObjectName(QStringLiteral("LbAccountLine"));
    m_accountLine->setStyleSheet(QStringLiteral("color:rgb(200,200,200);"));
    m_accountLine->setAlignment(Qt::AlignCenter);
    addSpacing(scaled(2));
    addWidget(m_loginLink);
    addSpacing(scaled(4));
    addWidget(m_accountLine);
    addStretch(1);

    // The circle and the busy image share one place; one of the two is visible.
    auto *status = new QWidget(this);
    status->setFixedSize(scaled(160), scaled(160));
    auto *statusLayout = new QGridLayout(status);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    m_circle = new QLabel(status);
    m_circle->setObjectName(QStringLiteral("LbStatusCircle"));
    m_busyImage = new BusyImage(std::move(spinAngle), status);
    m_busyImage->hide();
    statusLayout->addWidget(m_circle, 0, 0);
    statusLayout->addWidget(m_busyImage, 0, 0);
    addWidget(status, 1);
    addStretch(1);

    m_btnSelect = makeButton(QStringLiteral("BTNSelect"), tr("Change your vpn server"), this);
    m_btnSelect->setFixedSize(scaled(40), scaled(26));
    // An outline where the flag goes until a server is chosen.
    m_btnSelect->setStyleSheet(
        QStringLiteral("QPushButton{border:1px dashed #6b7590;border-radius:3px;}"));
    m_serverName = new QLabel(tr("Choose a server"), this);
    m_serverName->setObjectName(QStringLiteral("LbServerName"));
    m_serverName->setTextFormat(Qt::PlainText);
    m_serverName->setCursor(Qt::PointingHandCursor);
    m_serverName->installEventFilter(this);
    auto *server = new QHBoxLayout;
    server->setContentsMargins(0, 0, 0, 0);
    server->setSpacing(scaled(8));
    server->addStretch(1);
    server->addWidget(m_btnSelect);
    server->addWidget(m_serverName);
    server->addStretch(1);
    addLayout(server);
    addSpacing(scaled(14));

    m_btnConnect = makeButton(QStringLiteral("BTNConnect"), QString(), this);
    m_btnConnect->setFixedWidth(scaled(200));
    addWidget(m_btnConnect, 1);
    addSpacing(scaled(12));

    QPushButton *buy = makeButton(QStringLiteral("BTNBuy"), tr("Subscribe VPN"), this);
    buy->setText(tr("Subscribe"));
    buy->setFixedWidth(scaled(120));
    addWidget(buy, 1);

    connect(login, &QPushButton::clicked, this, &HomePage::accountClicked);
    connect(m_loginLink, &QLabel::linkActivated, this, &HomePage::accountClicked);
    connect(help, &QPushButton::clicked, this, &HomePage::helpClicked);
    connect(buy, &QPushButton::clicked, this, &HomePage::buyClicked);
    connect(m_btnConnect, &QPushButton::clicked, this, &HomePage::connectClicked);
    connect(m_btnSelect, &QPushButton::clicked, this, &HomePage::chooseServerClicked);
}

void HomePage::setConnectionView(const ConnectionView &view)
{
    static const char *const kCircles[]
        = {":/wnd/circle_0.png", ":/wnd/circle_3.png", ":/wnd/circle_1.png"};
    m_btnConnect->setText(view.buttonText);
    m_btnConnect->setToolTip(view.buttonToolTip);
    if (m_btnConnect->property("connected").toBool() != view.connected) {
        m_btnConnect->setProperty("connected", view.connected);
        m_btnConnect->style()->unpolish(m_btnConnect);
        m_btnConnect->style()->polish(m_btnConnect);
    }
    m_circle->setStyleSheet(
        QStringLiteral("border-image:url(%1);").arg(QLatin1String(kCircles[int(view.circle)])));
    m_circle->setVisible(!view.busyImageShown);
    m_busyImage->setVisible(view.busyImageShown);
}

void HomePage::setServer(const QString &flagCode, const QString &name)
{
    m_btnSelect->setStyleSheet(
        QStringLiteral("QPushButton{border-image:url(:/flag/%1.png);}").arg(flagCode));
    m_serverName->setText(name);
}

void HomePage::setConnectEnabled(bool enabled)
{
    m_btnConnect->setEnabled(enabled);
}

void HomePage::setAccount(const QString &email, const QString &expires)
{
    m_loginLink->setText(linkText(email, QStringLiteral("user_info")));
    m_accountLine->setText(QStringLiteral("%1:%2").arg(tr("Expires"), expires));
}

void HomePage::setSignedOut()
{
    m_loginLink->setText(linkText(tr("Please login"), QStringLiteral("login")));
    m_accountLine->clear();
}

void HomePage::spinTick()
{
    m_busyImage->update();
}

bool HomePage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_serverName && event->type() == QEvent::MouseButtonRelease)
        emit chooseServerClicked();
    return Page::eventFilter(watched, event);
}
