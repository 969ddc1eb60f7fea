#include "serveritem.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPixmapCache>

namespace {

QString rowTextStyle()
{
    return QStringLiteral("color:rgb(22,22,22);");
}

} // namespace

ServerItem::ServerItem(const QPixmap &flag, const QString &name, const QString &speed,
                       QWidget *parent)
    : ServerItem(flag, name, speed, Labels::Now, parent)
{ }

ServerItem::ServerItem(const QPixmap &flag, const QString &name, const QString &speed,
                       Labels labels, QWidget *parent)
    : QWidget(parent)
    , m_flagPixmap(flag)
    , m_nameText(name)
    , m_speedText(speed)
{
    if (labels == Labels::Now)
        makeLabels();
}

void ServerItem::makeLabels()
{
    if (m_flag)
        return;
    m_flag = new QLabel(this);
    m_name = new QLabel(m_nameText, this);
    m_speed = new QLabel(m_speedText, this);
    m_flag->setFixedSize(40, 25);
    m_flag->setPixmap(m_flagPixmap);
    m_flagPixmap = QPixmap();
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

    // Children of a widget already on screen stay hidden until shown.
    if (isVisible()) {
        layout->activate();
        m_flag->show();
        m_name->show();
        m_speed->show();
    }
}

void ServerItem::setSpeed(const QString &speed)
{
    m_speedText = speed;
    if (m_speed)
        m_speed->setText(speed);
}

QString ServerItem::speed() const
{
    return m_speed ? m_speed->text() : m_speedText;
}

QString ServerItem::name() const
{
    return m_name ? m_name->text() : m_nameText;
}

QLabel *ServerItem::flagLabel() const
{
    const_cast<ServerItem *>(this)->makeLabels();
    return m_flag;
}

QLabel *ServerItem::nameLabel() const
{
    const_cast<ServerItem *>(this)->makeLabels();
    return m_name;
}

QLabel *ServerItem::speedLabel() const
{
    const_cast<ServerItem *>(this)->makeLabels();
    return m_speed;
}

QSize ServerItem::sizeHint() const
{
    const_cast<ServerItem *>(this)->makeLabels();
    return QWidget::sizeHint();
}

QSize ServerItem::minimumSizeHint() const
{
    const_cast<ServerItem *>(this)->makeLabels();
    return QWidget::minimumSizeHint();
}

bool ServerItem::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        makeLabels();
    return QWidget::event(event);
}

QPixmap ServerItem::flagPixmap(const QString &code)
{
    // A list has thousands of rows of a few countries: load and scale each flag once. On a
    // 2x screen the @2x file is loaded, hence the ratio in the key.
    const qreal screenRatio = qApp->devicePixelRatio();
    const QString key = QStringLiteral("quellnet-row-flag/%1@%2").arg(code).arg(screenRatio);
    QPixmap scaled;
    if (QPixmapCache::find(key, &scaled))
        return scaled;
    const QPixmap flag(QStringLiteral(":/flag/%1.png").arg(code));
    if (flag.isNull())
        return flag;
    // Scale in device pixels so it stays 50 x 25.
    const qreal ratio = flag.devicePixelRatio();
    scaled = flag.scaled(QSize(50, 25) * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, scaled);
    return scaled;
}

ServerListWidget::ServerListWidget(QWidget *parent)
    : QListWidget(parent)
    , m_shelf(new QWidget(this))
{
    m_shelf->setObjectName(QStringLiteral("ServerRowShelf"));
    m_shelf->hide();
}

void ServerListWidget::updateEditorGeometries()
{
    placeRowWidgets(true);
}

void ServerListWidget::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    // Scrolling only moves the viewport's children; rows coming into view are elsewhere.
    placeRowWidgets(false);
}

void ServerListWidget::showRow(QWidget *widget, const QModelIndex &index,
                               QStyleOptionViewItem *option)
{
    if (widget->parentWidget() == m_shelf)
        widget->setParent(viewport());
    if (QAbstractItemDelegate *delegate = itemDelegate(index))
        delegate->updateEditorGeometry(widget, *option, index);
    widget->show();
}

void ServerListWidget::hideRow(QWidget *widget)
{
    // A hidden child of the viewport is not free: the viewport walks all its children on each
    // scroll, and each shown row all its siblings on each paint. Rows out of view wait on the
    // shelf (setParent hides them); any other index widget is only hidden.
    if (widget->parentWidget() != viewport())
        return;
    if (qobject_cast<ServerItem *>(widget))
        widget->setParent(m_shelf);
    else
        widget->hide();
}

void ServerListWidget::placeRowWidgets(bool everyRow)
{
    const QRect area = viewport()->rect();
    int first = 0;
    int last = count() - 1;
    // In a single column the rows in view lie between the ones at the top and bottom edge;
    // anything else (or a gap at the top) gets every row looked at.
    if (!everyRow && viewMode() == ListMode && flow() == TopToBottom && !isWrapping()) {
        const QModelIndex top = indexAt(QPoint(area.center().x(), area.top()));
        const QModelIndex bottom = indexAt(QPoint(area.center().x(), area.bottom()));
        if (top.isValid())
            first = top.row();
        else
            everyRow = true;
        if (bottom.isValid())
            last = bottom.row();
    } else {
        everyRow = true;
    }

    QVector<QPointer<QWidget>> shown;
    QStyleOptionViewItem option = viewOptions();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        QWidget *widget = indexWidget(index);
        if (!widget)
            continue;
        option.rect = visualRect(index);
        if (option.rect.isValid() && option.rect.intersects(area)) {
            showRow(widget, index, &option);
            shown.append(widget);
        } else if (everyRow) {
            hideRow(widget);
        }
    }
    if (!everyRow) {
        for (const QPointer<QWidget> &widget : qAsConst(m_shown)) {
            if (widget && !shown.contains(widget))
                hideRow(widget);
        }
    }
    m_shown = shown;
}

void fillServerRows(QListWidget *list, const ServerInfoList &servers, const ServerInfoPtr &current,
                    int rowHeight)
{
    list->setUpdatesEnabled(false);
    list->clear();
    // All rows in one insertion, then their widgets: each row widget holds a persistent index
    // that every later insertion would walk, and the view lays out on each insertion. Empty
    // texts: the widget is the row.
    QStringList texts;
    texts.reserve(servers.size());
    for (int i = 0; i < servers.size(); ++i)
        texts.append(QString());
    list->addItems(texts);
    for (int i = 0; i < servers.size(); ++i) {
        QListWidgetItem *item = list->item(i);
        item->setSizeHint(QSize(0, rowHeight));
        item->setData(Qt::UserRole, servers.at(i)->host);
    }
    // setItemWidget shows each widget: in a viewport on screen that would make its labels and
    // lay it out, for thousands of rows never seen. In a hidden one it only sets a flag.
    QWidget *viewport = list->viewport();
    const bool viewportOnScreen = viewport->isVisible();
    if (viewportOnScreen)
        viewport->hide();
    QHash<QString, QPixmap> flags; // by country as the list spells it
    for (int i = 0; i < servers.size(); ++i) {
        const ServerInfoPtr &server = servers.at(i);
        QListWidgetItem *item = list->item(i);
        auto flag = flags.find(server->country);
        if (flag == flags.end())
            flag = flags.insert(server->country, ServerItem::flagPixmap(flagCode(server->country)));
        auto *row
            = new ServerItem(*flag, server->name, QString(), ServerItem::Labels::OnShow, viewport);
        // Sized already, so showing it does not ask the labels for a size.
        row->resize(viewport->width(), rowHeight);
        list->setItemWidget(item, row);
        // The view shows the rows in view (ServerListWidget) or all of them.
        row->hide();
        if (server == current)
            list->setCurrentItem(item);
    }
    if (viewportOnScreen)
        viewport->show();
    list->doItemsLayout();
    list->setUpdatesEnabled(true);
}
