#include "serveritem.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

QString rowTextStyle()
{
    return QStringLiteral("color:rgb(22,22,22);");
}

} // namespace

ServerItem::ServerItem(const QPixmap &flag, const QString &name, const QString &speed,
                       QWidget *parent)
    : QWidget(parent)
    , m_flag(new QLabel(this))
    , m_name(new QLabel(name, this))
    , m_speed(new QLabel(speed, this))
{
    m_flag->setFixedSize(40, 25);
    m_flag->setPixmap(flag);
    m_name->setFixedWidth(120);
    m_name->setStyleSheet(rowTextStyle());
    m_speed->setFixedWidth(60);
    m_speed->setStyleSheet(rowTextStyle());

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addSpacing(2);
    layout->addWidget(m_flag);
    layout->addSpacing(2);
    layout->addWidget(m_name);
    layout->addSpacing(5);
    layout->addWidget(m_speed);
}

void ServerItem::setSpeed(const QString &speed)
{
    m_speed->setText(speed);
}

QString ServerItem::speed() const
{
    return m_speed->text();
}

QString ServerItem::name() const
{
    return m_name->text();
}

QPixmap ServerItem::flagPixmap(const QString &code)
{
    const QPixmap flag(QStringLiteral(":/flag/%1.png").arg(code));
    if (flag.isNull())
        return flag;
    // On a 2x screen the @2x file is loaded: scale in device pixels so it stays 50 x 25.
    const qreal ratio = flag.devicePixelRatio();
    QPixmap scaled
        = flag.scaled(QSize(50, 25) * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}
