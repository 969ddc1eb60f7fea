#include "mbasewidget.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QVBoxLayout>

#include <algorithm>

MBorderInfo::MBorderInfo(QColor color, int width, int radius, bool unsetFlag, QColor background)
    : borderColor(color)
    , borderWidth(width)
    , borderRadius(radius)
    , unset(unsetFlag)
    , backgroundColor(background)
{ }

MBaseWidget::MBaseWidget(QWidget *parent)
    : QWidget(parent)
{
    init();
}

MBaseWidget::MBaseWidget(int width, int height, QWidget *parent)
    : QWidget(parent)
    , m_maxX(0)
    , m_maxY(0)
{
    init();
    if (width > 0)
        setFixedWidth(width);
    if (height > 0)
        setFixedHeight(height);
}

MBaseWidget::~MBaseWidget() = default;

void MBaseWidget::init()
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_TranslucentBackground, false);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(false);
    setWindowModality(Qt::NonModal);
}

void MBaseWidget::setVisible(bool visible)
{
    m_visible = visible;
    QWidget::setVisible(visible);
}

void MBaseWidget::deleteAndHide(bool deleteLater, bool keepConnections)
{
    hide();
    if (!keepConnections)
        disconnect();
    if (deleteLater)
        this->deleteLater();
}

void MBaseWidget::setState(WidgetState state)
{
    if (!validState(state))
        return;
    m_state = state;
    m_paintState = state;
    if (m_selfPaint) {
        update();
        return;
    }
    const QString &sheet
        = m_styleSheets[state].isEmpty() ? m_styleSheets[WS_Normal] : m_styleSheets[state];
    if (!sheet.isEmpty())
        setStyleSheet(sheet);
}

bool MBaseWidget::isVisible() const
{
    return m_visible;
}

void MBaseWidget::show()
{
    m_visible = true;
    QWidget::show();
}

void MBaseWidget::addWidget(QWidget *widget)
{
    if (!widget)
        return;
    if (!m_layout) {
        m_layout = new QHBoxLayout(this);
        m_layout->setContentsMargins(0, 0, 0, 0);
        m_layout->setSpacing(0);
    }
    m_layout->addWidget(widget);
}

QBoxLayout *MBaseWidget::getLayout(Qt::Orientation orientation)
{
    if (!m_layout) {
        if (orientation == Qt::Horizontal)
            m_layout = new QHBoxLayout(this);
        else
            m_layout = new QVBoxLayout(this);
        m_layout->setContentsMargins(0, 0, 0, 0);
    }
    return m_layout;
}

void MBaseWidget::setCanMove(bool canMove)
{
    m_canMove = canMove;
}

void MBaseWidget::setMinPos(int x, int y)
{
    m_minX = x;
    m_minY = y;
}

void MBaseWidget::setMaxPos(int x, int y)
{
    m_maxX = x;
    m_maxY = y;
}

int MBaseWidget::calMoveX(const QPoint &cursor, int offset) const
{
    return std::max(m_minX, x() + cursor.x() - m_startPos.x() - offset);
}

int MBaseWidget::calMoveY(const QPoint &cursor, int offset) const
{
    return std::max(m_minY, y() + cursor.y() - m_startPos.y() - offset);
}

void MBaseWidget::move_x(int x)
{
    move(x, y());
}

void MBaseWidget::move_y(int y)
{
    move(x(), y);
}

int MBaseWidget::getStartPosX() const
{
    return x();
}

int MBaseWidget::getEndPosX() const
{
    return x() + width();
}

void MBaseWidget::setStyleSheetForState(const QString &styleSheet, WidgetState state)
{
    if (validState(state))
        m_styleSheets[state] = styleSheet;
}

void MBaseWidget::setBorder(int width, int radius, const QColor &color, Qt::PenStyle penStyle,
                            const QColor &background, WidgetState state)
{
    if (!validState(state))
        return;
    m_styleSheets[state] = getStyleStr(width, radius, color, penStyle, background);
    m_borders[state] = MBorderInfo(color, width, radius, false, background);
}

void MBaseWidget::setBorder(int width, int radius, const QColor &color, WidgetState state)
{
    if (!validState(state))
        return;
    m_styleSheets[state] = getStyleStr(width, radius, color);
    m_borders[state] = MBorderInfo(color, width, radius, false, QColor());
}

void MBaseWidget::setBorderInfoForState(const MBorderInfo &info, WidgetState state)
{
    if (validState(state))
        m_borders[state] = info;
}

QString MBaseWidget::getStyleStr(int width, int radius, const QColor &color, Qt::PenStyle penStyle,
                                 const QColor &background) const
{
    const QString styleWord
        = penStyle == Qt::SolidLine ? QStringLiteral("solid") : QStringLiteral("dashed");
    if (!objectName().isEmpty()) {
        return QStringLiteral("#%6 {border:%1px %2 %3;background-color:%4;border-radius:%5px;}")
            .arg(width)
            .arg(styleWord, color.name(), background.name())
            .arg(radius)
            .arg(objectName());
    }
    return QStringLiteral("border:%1px %2 %3;background-color:%4;border-radius:%5px;")
        .arg(width)
        .arg(styleWord, color.name(), background.name())
        .arg(radius);
}

QString MBaseWidget::getStyleStr(int width, int radius, const QColor &color) const
{
    if (!objectName().isEmpty()) {
        return QStringLiteral("#%5 {border:%1px %2 %3;border-radius:%4px;}")
            .arg(width)
            .arg(QStringLiteral("solid"), color.name())
            .arg(radius)
            .arg(objectName());
    }
    return QStringLiteral("border:%1px %2 %3;border-radius:%4px;")
        .arg(width)
        .arg(QStringLiteral("solid"), color.name())
        .arg(radius);
}

void MBaseWidget::setSelfPaint(bool selfPaint)
{
    m_selfPaint = selfPaint;
    update();
}

void MBaseWidget::setTransEventToParent(bool trans)
{
    m_transEvent = trans;
}

void MBaseWidget::setTranslucentBackground(bool translucent)
{
    setAttribute(Qt::WA_TranslucentBackground, translucent);
}

void MBaseWidget::startElpsTimer()
{
    if (m_elapsed.isValid())
        m_elapsed.restart();
    else
        m_elapsed.start();
}

qint64 MBaseWidget::endElpsTimer()
{
    if (!m_elapsed.isValid())
        return 0;
    const qint64 elapsed = m_elapsed.elapsed();
    m_elapsed.invalidate();
    return elapsed;
}

void MBaseWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        if (m_canMove) {
            m_orgPos = pos();
            m_startPos = event->pos();
            m_curPos = event->pos();
            m_dragArmed = true;
            m_moveStarted = false;
            m_moving = false;
            emit clicked();
            emit signalMouseClick(event->pos().x(), event->pos().y());
            raise();
        }
    }
    if (m_transEvent)
        QWidget::mousePressEvent(event);
}

void MBaseWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_canMove && m_dragArmed && (event->buttons() & Qt::LeftButton)) {
        m_curPos = event->pos();
        m_moveX = calMoveX(event->pos(), 0);
        m_moveY = calMoveY(event->pos(), 0);
        // A short jitter of the press is a click, not a drag.
        if (!m_moveStarted
            && (event->pos() - m_startPos).manhattanLength()
                > 2 * QApplication::startDragDistance()) {
            m_moveStarted = true;
            emit signalMoveStart(x(), y());
        }
        if (m_moveStarted) {
            m_moving = true;
            emit signalMove(m_moveX, m_moveY);
        }
    }
    if (m_transEvent)
        QWidget::mouseMoveEvent(event);
}

void MBaseWidget::mouseReleaseEvent(QMouseEvent *event)
{
    emit onDragLeave(nullptr);
    if (m_canMove && m_dragArmed) {
        m_moveX = calMoveX(event->pos(), 0);
        m_moveY = calMoveY(event->pos(), 0);
        if (m_moving)
            emit signalMoveEnd();
        m_curPos = pos();
    }
    m_pressed = false;
    m_dragArmed = false;
    m_moveStarted = false;
    m_moving = false;
    if (m_transEvent)
        QWidget::mouseReleaseEvent(event);
}

void MBaseWidget::enterEvent(QEvent *event)
{
    m_hovered = true;
    if (m_state != WS_Pressed && m_state != WS_Selected && m_state != WS_Disabled)
        setState(WS_Hover);
    QWidget::enterEvent(event);
}

void MBaseWidget::leaveEvent(QEvent *event)
{
    m_hovered = false;
    if (m_state != WS_Pressed && m_state != WS_Selected && m_state != WS_Disabled)
        setState(WS_Normal);
    QWidget::leaveEvent(event);
}

void MBaseWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    if (!m_selfPaint)
        return;
    const MBorderInfo *border = nullptr;
    if (validState(m_paintState) && !m_borders[m_paintState].unset)
        border = &m_borders[m_paintState];
    else if (!m_borders[WS_Normal].unset)
        border = &m_borders[WS_Normal];
    if (!border)
        return;
    painter.setRenderHint(QPainter::Antialiasing, border->borderRadius >= 1);
    painter.setPen(QPen(border->borderColor, border->borderWidth));
    if (border->backgroundColor.isValid())
        painter.setBrush(border->backgroundColor);
    else
        painter.setBrush(Qt::NoBrush);
    // Keep the whole pen inside the widget.
    const qreal inset = border->borderWidth / 2.0;
    const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    if (border->borderRadius < 1)
        painter.drawRect(box);
    else
        painter.drawRoundedRect(box, border->borderRadius, border->borderRadius);
}

void MBaseWidget::resizeEvent(QResizeEvent *event)
{
    if (m_transEvent)
        QWidget::resizeEvent(event);
    emit onResize(width(), height());
}

void MBaseWidget::dragEnterEvent(QDragEnterEvent *event)
{
    emit onDragEnter(event);
}

void MBaseWidget::dragMoveEvent(QDragMoveEvent *event)
{
    emit onDragMove(event);
}

void MBaseWidget::dragLeaveEvent(QDragLeaveEvent *event)
{
    emit onDragLeave(event);
}

void MBaseWidget::dropEvent(QDropEvent *event)
{
    emit onDrop(event);
}

void MBaseWidget::showEvent(QShowEvent *event)
{
    if (m_transEvent)
        QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    setState(WS_Normal);
    emit onShow(width(), height());
}
