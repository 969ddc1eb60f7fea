#include "serveritem.h"

#include <QListWidget>

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

void fillServerRows(QListWidget *list, const ServerInfoList &servers, const ServerInfoPtr &current,
                    int rowHeight)
{
    // All rows first, then their widgets: each row widget holds a persistent index, which
    // every later row insertion would have to walk (time growing with the square of the list).
    list->setUpdatesEnabled(false);
    list->clear();
    for (const ServerInfoPtr &server : servers) {
        auto *item = new QListWidgetItem(list);
        item->setSizeHint(QSize(0, rowHeight));
        item->setData(Qt::UserRole, server->host);
    }
    for (int i = 0; i < servers.size(); ++i) {
        const ServerInfoPtr &server = servers.at(i);
        QListWidgetItem *item = list->item(i);
        auto *row = new ServerItem(ServerItem::flagPixmap(flagCode(server->country)), server->name,
                                   QString(), list);
        list->setItemWidget(item, row);
        if (server == current)
            list->setCurrentItem(item);
    }
    list->setUpdatesEnabled(true);
}
