#include "mline.h"

#include <QPainter>

MLine::MLine(int width, const QColor &color, int orientation, int dashed, QWidget *parent)
    : QWidget(parent)
    , m_lineWidth(width)
    , m_color(color)
    , m_orientation(orientation)
{
    m_pen.setColor(m_color);
    m_pen.setWidth(m_lineWidth);
    m_pen.setStyle(dashed != 0 ? Qt::DotLine : Qt::SolidLine);
}

MLine::~MLine() = default;

void MLine::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setPen(m_pen);
    if (m_orientation == Qt::Horizontal) {
        const int y = (height() - m_pen.width()) / 2;
        painter.drawLine(0, y, width(), y);
    } else {
        const int x = (width() - m_pen.width()) / 2;
        painter.drawLine(x, 0, x, height());
    }
}
