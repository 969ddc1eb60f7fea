#include "qballoontip.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QDebug>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimerEvent>

namespace {

constexpr int kBorder = 1;
constexpr int kArrowHeight = 18;
constexpr int kArrowOffset = 18;
constexpr int kArrowWidth = 18;
constexpr int kDefaultTimeout = 10000;

QBalloonTip *s_current = nullptr;

QRect screenGeometryAt(const QPoint &pos)
{
    QScreen *screen = QGuiApplication::screenAt(pos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

} // namespace

BalloonSide balloonSide(const QRect &screen, const QPoint &pos, const QSize &sizeHint)
{
    BalloonSide side;
    side.arrowAtTop = pos.y() + sizeHint.height() + kArrowHeight < screen.height();
    side.arrowAtLeft = pos.x() + sizeHint.width() - kArrowOffset < screen.width();
    return side;
}

QPoint balloonPosition(const QRect &screen, const QPoint &pos, const QSize &sizeHint,
                       const BalloonSide &side)
{
    const int x = side.arrowAtLeft
        ? qMax(pos.x() - kArrowOffset, screen.left() + 2)
        : qMin(pos.x() - sizeHint.width() + kArrowOffset, screen.right() - sizeHint.width() - 2);
    const int y = side.arrowAtTop ? pos.y() : pos.y() - sizeHint.height();
    return QPoint(x, y);
}

void QBalloonTip::showBalloon(const QString &message, const QPoint &pos, int msecs)
{
    hideBalloon();
    if (msecs <= 0)
        msecs = kDefaultTimeout;
    s_current = new QBalloonTip(QSystemTrayIcon::NoIcon, QString(), message);
    s_current->balloon(pos, msecs, true);
}

void QBalloonTip::showBalloon(QSystemTrayIcon::MessageIcon icon, const QString &title,
                              const QString &message, const QPoint &pos, int msecs, bool showArrow)
{
    hideBalloon();
    if (msecs < 1)
        msecs = kDefaultTimeout;
    s_current = new QBalloonTip(icon, title, message);
    s_current->balloon(pos, msecs, showArrow);
}

void QBalloonTip::showBalloon(QMovie *movie, int width, int height, const QPoint &pos, int msecs,
                              bool showArrow)
{
    hideBalloon();
    if (msecs < 0)
        msecs = kDefaultTimeout;
    s_current = new QBalloonTip(movie, width, height);
    s_current->balloon(pos, msecs, showArrow);
}

void QBalloonTip::hideBalloon()
{
    if (!s_current)
        return;
    QBalloonTip *tip = s_current;
    s_current = nullptr;
    tip->hide();
    delete tip;
}

QBalloonTip *QBalloonTip::current()
{
    return s_current;
}

QBalloonTip::QBalloonTip(QSystemTrayIcon::MessageIcon icon, const QString &title,
                         const QString &message)
    : QWidget(nullptr, Qt::Popup)
{
    setUpWindow();

    auto *titleLabel = new QLabel(this);
    titleLabel->installEventFilter(this);
    titleLabel->setObjectName(QStringLiteral("QBalloonTip_TITLE"));
    titleLabel->setText(title);
    QFont titleFont = titleLabel->font();
    titleFont.setWeight(75);
    titleLabel->setFont(titleFont);
    titleLabel->setTextFormat(Qt::PlainText);
    titleLabel->setVisible(!title.isEmpty());

    const int closeSize = 18;
    auto *closeButton = new QPushButton(this);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setIconSize(QSize(closeSize, closeSize));
    closeButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    closeButton->setFixedSize(closeSize, closeSize);
    connect(closeButton, &QPushButton::clicked, this, &QBalloonTip::close);
    closeButton->setVisible(!title.isEmpty());

    auto *messageLabel = new QLabel(this);
    messageLabel->installEventFilter(this);
    messageLabel->setText(message);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageLabel->setStyleSheet(QStringLiteral("color:rgb(22,22,22);"));

    QIcon si;
    switch (icon) {
    case QSystemTrayIcon::Information:
        si = style()->standardIcon(QStyle::SP_MessageBoxInformation);
        break;
    case QSystemTrayIcon::Warning:
        si = style()->standardIcon(QStyle::SP_MessageBoxWarning);
        break;
    case QSystemTrayIcon::Critical:
        si = style()->standardIcon(QStyle::SP_MessageBoxCritical);
        break;
    default:
        break;
    }

    auto *layout = new QGridLayout;
    if (!si.isNull()) {
        auto *iconLabel = new QLabel(this);
        const int iconSize = 15;
        iconLabel->setPixmap(si.pixmap(iconSize, iconSize));
        iconLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        iconLabel->setMargin(10);
        layout->addWidget(iconLabel, 0, 0);
        layout->addWidget(titleLabel, 0, 1);
    } else {
        layout->addWidget(titleLabel, 0, 0, 1, 2);
    }
    layout->addWidget(closeButton, 0, 2);
    layout->addWidget(messageLabel, 1, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(1);
    setLayout(layout);
}

QBalloonTip::QBalloonTip(QMovie *movie, int width, int height)
    : QWidget(nullptr, Qt::Popup)
    , m_movie(movie)
{
    setUpWindow();

    m_movieLabel = new QLabel(this);
    m_movieLabel->installEventFilter(this);
    m_movieLabel->setText(QString());
    m_movieLabel->setTextFormat(Qt::PlainText);
    m_movieLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_movieLabel->setFixedSize(width, height);
    if (m_movie)
        m_movieLabel->setMovie(m_movie);
    m_movieLabel->setStyleSheet(QStringLiteral("color:rgb(255,255,255);"));

    auto *layout = new QGridLayout;
    layout->addWidget(m_movieLabel, 0, 0, 1, 3);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setLayout(layout);
}

void QBalloonTip::setUpWindow()
{
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setBrush(QPalette::All, QPalette::Window, QColor(255, 255, 255));
    setPalette(pal);
}

QBalloonTip::~QBalloonTip()
{
    if (s_current == this)
        s_current = nullptr;
}

void QBalloonTip::balloon(const QPoint &pos, int msecs, bool showArrow)
{
    const QRect scr = screenGeometryAt(pos);
    QSize sh = sizeHint();
    m_side = balloonSide(scr, pos, sh);
    const bool arrowAtTop = m_side.arrowAtTop;
    const bool arrowAtLeft = m_side.arrowAtLeft;

    setContentsMargins(kBorder + 3, kBorder + (arrowAtTop ? kArrowHeight : 0) + 2, kBorder + 3,
                       kBorder + (arrowAtTop ? 0 : kArrowHeight) + 2);
    updateGeometry();
    sh = sizeHint();

    const int ml = 0;
    const int mr = sh.width() - 1;
    const int mt = arrowAtTop ? kArrowHeight : 0;
    const int mb = arrowAtTop ? sh.height() - 1 : sh.height() - kArrowHeight - 1;

    QPainterPath path;
    path.moveTo(ml, mt);
    if (arrowAtTop && arrowAtLeft) {
        if (showArrow) {
            path.lineTo(ml + kArrowOffset, mt);
            path.lineTo(ml + kArrowOffset, mt - kArrowHeight);
            path.lineTo(ml + kArrowOffset + kArrowWidth, mt);
        }
    } else if (arrowAtTop && !arrowAtLeft) {
        if (showArrow) {
            path.lineTo(mr - kArrowOffset - kArrowWidth, mt);
            path.lineTo(mr - kArrowOffset, mt - kArrowHeight);
            path.lineTo(mr - kArrowOffset, mt);
        }
    }
    path.lineTo(mr, mt);
    path.lineTo(mr, mb);
    if (!arrowAtTop && !arrowAtLeft) {
        if (showArrow) {
            path.lineTo(mr - kArrowOffset, mb);
            path.lineTo(mr - kArrowOffset, mb + kArrowHeight);
            path.lineTo(mr - kArrowOffset - kArrowWidth, mb);
        }
    } else if (!arrowAtTop && arrowAtLeft) {
        if (showArrow) {
            path.lineTo(kArrowOffset + kArrowWidth, mb);
            path.lineTo(kArrowOffset, mb + kArrowHeight);
            path.lineTo(kArrowOffset, mb);
        }
    }
    path.lineTo(ml, mb);
    path.closeSubpath();
    move(balloonPosition(scr, pos, sh, m_side));

    QBitmap bitmap(sh);
    bitmap.fill(Qt::color0);
    {
        QPainter painter(&bitmap);
        painter.setPen(QPen(Qt::color1, kBorder));
        painter.setBrush(QBrush(Qt::color1));
        painter.drawPath(path);
    }
    setMask(bitmap);

    m_pixmap = QPixmap(sh);
    m_pixmap.fill(Qt::transparent);
    {
        QPainter painter(&m_pixmap);
        painter.setPen(QPen(QColor(22, 22, 22), kBorder));
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawPath(path);
    }

    if (msecs > 0)
        m_timerId = startTimer(msecs);
    show();
}

void QBalloonTip::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timerId) {
        QWidget::timerEvent(event);
        return;
    }
    killTimer(m_timerId);
    m_timerId = -1;
    // A reader with the mouse on the bubble keeps it until a click or a replacement.
    if (!rect().contains(mapFromGlobal(QCursor::pos())))
        close();
}

void QBalloonTip::mousePressEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    close();
}

void QBalloonTip::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.drawPixmap(rect(), m_pixmap);
}

void QBalloonTip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
}

void QBalloonTip::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_movie)
        m_movie->start();
}
