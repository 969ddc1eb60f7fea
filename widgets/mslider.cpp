#include "mslider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

MSlider::MSlider(QWidget *parent)
    : QSlider(parent)
{ }

MSlider::MSlider(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{ }

MSlider::~MSlider() = default;

void MSlider::setBackgroundImage(const QString &image)
{
    m_backgroundImage = image;
    emit onGetBackgroundImage(m_backgroundImage);
    update();
}

QString MSlider::getBackgroundImage() const
{
    return m_backgroundImage;
}

void MSlider::setRedrawFlag(bool redraw)
{
    m_redraw = redraw;
}

void MSlider::setValueEx(int value, bool notify)
{
    const bool wasBlocked = signalsBlocked();
    if (!notify)
        blockSignals(true);
    setValue(value);
    blockSignals(wasBlocked);
}

int MSlider::valueAt(const QPoint &pos, const QRect &handle) const
{
    const bool horizontal = orientation() == Qt::Horizontal;
    const double length = horizontal ? width() : height();
    const double half = (horizontal ? handle.width() : handle.height()) * 0.5 + 0.5;
    double at = horizontal ? pos.x() : height() - pos.y();
    at = std::clamp(at, half, std::max(half, length - half));
    const double span = length - 2 * half;
    // A slider no longer than its handle has nowhere to jump to but the start.
    const double fraction = span > 0 ? (at - half) / span : 0.0;
    const int value = static_cast<int>(minimum() + fraction * (maximum() - minimum()));
    // Mirror inside the range, so that a range not starting at 0 stays inside itself.
    return invertedAppearance() ? maximum() + minimum() - value : value;
}

void MSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(event);
        return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle
        = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    if (handle.contains(event->pos())) {
        QSlider::mousePressEvent(event);
        return;
    }
    const int value = valueAt(event->pos(), handle);
    setValue(value);
    emit sliderMoved(value);
    event->accept();
}

void MSlider::mouseReleaseEvent(QMouseEvent *event)
{
    QSlider::mouseReleaseEvent(event);
    emit valueChanFinished(value());
}

void MSlider::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its release; only the last one ends the change.
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && !event->isAutoRepeat()) {
        emit valueChanFinished(value());
    }
    QSlider::keyReleaseEvent(event);
}

void MSlider::paintEvent(QPaintEvent *event)
{
    QMutexLocker locker(&m_paintMutex);
    if (!m_backgroundImage.isEmpty()) {
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
        painter.drawPixmap(rect().adjusted(0, 10, 0, 0), QPixmap(m_backgroundImage));
    }
    QSlider::paintEvent(event);
}
