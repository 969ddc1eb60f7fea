#include "mgiflable.h"

#include <QMovie>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

MGifLable::MGifLable(QWidget *parent)
    : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
}

MGifLable::~MGifLable() = default;

void MGifLable::setOpacity(float opacity)
{
    m_opacity = opacity;
    update();
}

void MGifLable::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);

    QPainter painter(this);
    painter.setOpacity(m_opacity);
    const int m = margin();
    const QRect area = contentsRect().adjusted(m, m, -m, -m);
    const QMovie *animation = movie();
    if (!animation)
        return;
    QPixmap frame = animation->currentPixmap();
    if (frame.isNull())
        return;
    if (hasScaledContents())
        frame = frame.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    style()->drawItemPixmap(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()),
                            frame);
}
