#include "mtitlebar.h"

#include "mpanel.h"
#include "mutils.h"
#include "qballoontip.h"
#include "systemmenucontrol.h"

#include <QApplication>
#include <QCursor>
#include <QDebug>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOption>
#include <QWindowStateChangeEvent>

namespace {

int px(double value)
{
    return int(value * Ratio());
}

QPushButton *makeButton(const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFlat(true);
    button->setFixedSize(px(30), px(25));
    return button;
}

QRect availableArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

MTitleBar::MTitleBar(QWidget *mainWindow, QWidget *parent)
    : QWidget(parent)
    , m_mainWindow(mainWindow)
{
    if (!mainWindow) {
        qInfo() << "MTitleBar::MTitleBar,mainWindow ==nullptr";
        return;
    }
    setObjectName(QStringLiteral("MTitleBar"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground, false);
    setFixedHeight(px(33));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(px(2), px(2), px(2), px(2));

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("MainTitleBar_Icon"));
    m_iconLabel->setFixedSize(px(20), px(20));

    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(QStringLiteral("MainTitleBar_Title"));
    m_titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_titleLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_centerTitleLabel = new QLabel(this);
    m_centerTitleLabel->setObjectName(QStringLiteral("MainTitleBar_Title"));
    m_centerTitleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_centerTitleLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_minButton = makeButton(QStringLiteral("MainTitleBar_Min"), this);
    m_maxButton = makeButton(QStringLiteral("MainTitleBar_Max"), this);
    m_restoreButton = makeButton(QStringLiteral("MainTitleBar_Restore"), this);
    m_closeButton = makeButton(QStringLiteral("MainTitleBar_Close"), this);

    for (MPanel **side : {&m_leftPanel, &m_rightPanel}) {
        auto *sidePanel = new MPanel(Qt::Horizontal, this);
        sidePanel->setContentsMargins(0, 0, 0, 0);
        sidePanel->setMarginAndSpaceing(0, 0);
        sidePanel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        sidePanel->setStyleSheet(QStringLiteral("background-color:transparent;"));
        *side = sidePanel;
    }
    m_rightPanel->addStretch(0);

    layout->addSpacing(px(2));
    layout->addWidget(m_iconLabel);
    layout->addWidget(m_leftPanel);
    layout->addWidget(m_titleLabel);
    layout->addStretch();
    layout->addWidget(m_rightPanel);
    layout->addWidget(m_minButton);
    layout->addWidget(m_maxButton);
    layout->addWidget(m_restoreButton);
    layout->addWidget(m_closeButton);
    layout->addSpacing(px(5));

    m_restoreButton->setVisible(false);
    setMinimumWidth(px(100));

    m_mainWindow->installEventFilter(this);
    m_iconLabel->installEventFilter(this);

    connect(m_maxButton, &QPushButton::clicked, this, &MTitleBar::ShowMaximized);
    connect(m_restoreButton, &QPushButton::clicked, this, &MTitleBar::ShowNormal);
    connect(m_minButton, &QPushButton::clicked, this, &MTitleBar::ShowMinimized);
    connect(m_closeButton, &QPushButton::clicked, this, &MTitleBar::CloseWindow);

    m_systemMenu = new SystemMenuControl(this, m_mainWindow);
    setCursor(Qt::ArrowCursor);
    m_leftPanel->setVisible(false);
    m_rightPanel->setVisible(false);
    m_centerTitleLabel->setVisible(false);
}

MTitleBar::~MTitleBar() = default;

bool MTitleBar::IsMax() const
{
    if (m_maximized)
        return true;
    return m_mainWindow && m_mainWindow->windowState() == Qt::WindowMaximized;
}

void MTitleBar::setTitle(const QString &title)
{
    if (!built())
        return;
    m_titleLabel->setText(title);
    setWindowTitle(title);
    m_titleLabel->setVisible(title.length() > 2);
}

void MTitleBar::setCenterTitle(const QString &title)
{
    if (!built())
        return;
    m_centerTitleLabel->setText(title);
    m_centerTitleLabel->setVisible(title.length() > 2);
}

void MTitleBar::setIcon(const QString &file)
{
    if (!built())
        return;
    const QPixmap image(file);
    if (image.isNull()) {
        qInfo() << "MTitleBar::setIcon, no image:" << file;
        return;
    }
    m_iconLabel->setPixmap(
        image.scaled(m_iconLabel->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_iconLabel->show();
}

void MTitleBar::setIconObjectName(const QString &name)
{
    if (!built())
        return;
    m_iconLabel->setObjectName(name);
    // Selectors by name only match again after a re-polish.
    m_iconLabel->style()->unpolish(m_iconLabel);
    m_iconLabel->style()->polish(m_iconLabel);
    m_iconLabel->update();
}

void MTitleBar::setShowIcon(bool show)
{
    if (built())
        m_iconLabel->setVisible(show);
}

void MTitleBar::setCanMin(bool can)
{
    if (!built())
        return;
    m_minButton->setEnabled(can);
    m_minButton->setVisible(can);
}

void MTitleBar::setCanMax(bool can)
{
    if (!built())
        return;
    m_maxButton->setEnabled(can);
    m_maxButton->setVisible(can);
    m_canMax = can;
}

void MTitleBar::setCanClose(bool can)
{
    if (!built())
        return;
    m_closeButton->setEnabled(can);
    m_closeButton->setVisible(can);
}

void MTitleBar::addWidget(QWidget *w, bool left)
{
    if (!w || !built())
        return;
    w->setFixedHeight(height() - px(4));
    MPanel *target = panel(left);
    target->addWidget(w);
    target->addSpacing(px(5));
    target->setVisible(true);
}

void MTitleBar::addStrecth(bool left)
{
    if (built())
        panel(left)->addStretch(0);
}

void MTitleBar::setPanelSpace(int margin, int spacing, bool left)
{
    if (built())
        panel(left)->setMarginAndSpaceing(margin, spacing);
}

void MTitleBar::setPanelWidth(int width, bool left)
{
    if (built())
        panel(left)->setMinimumWidth(width);
}

void MTitleBar::setMargin(int margin)
{
    m_margin = margin;
}

void MTitleBar::setMarginWidth(const int &width)
{
    m_marginWidth = width;
}

void MTitleBar::setResizable(bool resizable)
{
    m_resizable = resizable;
}

void MTitleBar::refreshUI()
{
    if (!built())
        return;
    const QString text = m_centerTitleLabel->text();
    if (text.length() > 5) {
        const int textWidth = m_centerTitleLabel->fontMetrics().horizontalAdvance(text);
        m_centerTitleLabel->setFixedWidth(int(textWidth * 1.6));
        m_centerTitleLabel->move((width() - m_centerTitleLabel->width()) / 2,
                                 (height() - m_centerTitleLabel->height()) / 2);
    }
    setFixedWidth(m_mainWindow->width() - 2 * m_margin);
}

void MTitleBar::ShowMaximized()
{
    if (!built())
        return;
    m_maximized = true;
    m_normalGeometry = m_mainWindow->geometry();
    m_mainWindow->setGeometry(availableArea());
    m_restoreButton->setVisible(true);
    m_maxButton->setVisible(false);
    emit signalMax();
}

void MTitleBar::ShowNormal()
{
    if (!built())
        return;
    m_maximized = false;
    const QRect area = availableArea();
    // A saved size that (nearly) fills the screen would look like no restore at all.
    if (m_normalGeometry.isValid() && m_normalGeometry.width() < area.width() - 10
        && m_normalGeometry.height() < area.height() - 10) {
        m_mainWindow->setGeometry(m_normalGeometry);
    }
    m_restoreButton->setVisible(false);
    m_maxButton->setVisible(true);
}

void MTitleBar::ShowMinimized()
{
    if (!built())
        return;
    m_maximized = false;
    m_mainWindow->showMinimized();
    QBalloonTip::hideBalloon();
    emit signalMin();
}

void MTitleBar::CloseWindow()
{
    if (!built())
        return;
    emit windowClose();
    m_mainWindow->close();
}

bool MTitleBar::eventFilter(QObject *watched, QEvent *event)
{
    if (built() && watched == m_mainWindow) {
        if (event->type() == QEvent::Resize)
            return true;
        if (event->type() == QEvent::WindowStateChange) {
            if (!m_canMax)
                return QWidget::eventFilter(watched, event);
            if (m_mainWindow->windowState() & Qt::WindowMinimized)
                QBalloonTip::hideBalloon();
            return true;
        }
    } else if (built() && watched == m_iconLabel && event->type() == QEvent::MouseButtonPress) {
        if (m_systemMenu->isEnabled() && m_iconLabel->isVisible()
            && m_iconLabel->rect().contains(m_iconLabel->mapFromGlobal(QCursor::pos()))) {
            m_systemMenu->recordIconPress();
            SystemMenuControl::popupSystemMenu(
                m_mainWindow, m_iconLabel->mapToGlobal(m_iconLabel->rect().bottomLeft()));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MTitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_pressPoint = event->globalPos();
        m_dragPoint = m_pressPoint;
    }
    QWidget::mousePressEvent(event);
}

void MTitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    if (m_mainWindow)
        m_normalGeometry = m_mainWindow->geometry();
    QWidget::mouseReleaseEvent(event);
}

void MTitleBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_canMax && built()) {
        if (m_mainWindow->windowState() == Qt::WindowMaximized)
            emit m_restoreButton->clicked(false);
        else
            emit m_maxButton->clicked(false);
    }
    QWidget::mouseDoubleClickEvent(event);
}

void MTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        m_dragPoint = event->globalPos();
        if (m_mainWindow)
            m_mainWindow->move(m_mainWindow->pos() - m_pressPoint + m_dragPoint);
        else
            emit windowMove(m_dragPoint - m_pressPoint);
        m_pressPoint = m_dragPoint;
        // Taken here: a dialog that drags on its own would move the window a second time.
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void MTitleBar::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void MTitleBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    refreshUI();
}

void MTitleBar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_centerTitleLabel)
        m_centerTitleLabel->raise();
    refreshUI();
}
