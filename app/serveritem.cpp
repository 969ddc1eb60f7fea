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
    m_name->setTextFormat(Qt::PlainText);
    m_speed->setFixedWidth(60);
    // Rows of a ServerListWidget take the colour from the list's one sheet: a sheet per
    // label is parsed and polished per label, the main cost of showing a row.
    if (!m_styledByList) {
        m_name->setStyleSheet(rowTextStyle());
        m_speed->setStyleSheet(rowTextStyle());
    }

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
    setStyleSheet(QStringLiteral("ServerItem QLabel{%1}").arg(rowTextStyle()));
    // Every row is a server row of one height: the layout need not ask each row its size.
    setUniformItemSizes(true);
}

ServerItem *ServerListWidget::rowWidget(int row)
{
    QListWidgetItem *rowItem = item(row);
    if (!rowItem)
        return nullptr;
    if (ServerItem *widget = m_widgets.value(rowItem))
        return widget;
    return makeRowWidget(rowItem, m_shelf);
}

ServerItem *ServerListWidget::existingRowWidget(int row) const
{
    QListWidgetItem *rowItem = item(row);
    return rowItem ? m_widgets.value(rowItem).data() : nullptr;
}

int ServerListWidget::rowOfWidget(const ServerItem *widget) const
{
    QListWidgetItem *rowItem = m_items.value(widget);
    if (!rowItem || m_widgets.value(rowItem) != widget)
        return -1;
    return row(rowItem);
}

void ServerListWidget::setRowSpeed(int row, const QString &speed)
{
    QListWidgetItem *rowItem = item(row);
    if (!rowItem)
        return;
    rowItem->setData(SpeedRole, speed);
    if (ServerItem *widget = m_widgets.value(rowItem))
        widget->setSpeed(speed);
}

QString ServerListWidget::rowSpeed(int row) const
{
    const QListWidgetItem *rowItem = item(row);
    return rowItem ? rowItem->data(SpeedRole).toString() : QString();
}

void ServerListWidget::reset()
{
    // The items are gone already: their keys are only dropped, never followed.
    const QList<QPointer<ServerItem>> widgets = m_widgets.values();
    for (const QPointer<ServerItem> &widget : widgets) {
        if (widget)
            dropRowWidget(widget);
    }
    m_widgets.clear();
    m_items.clear();
    m_shown.clear();
    QListWidget::reset();
}

void ServerListWidget::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    if (!parent.isValid() || parent == rootIndex()) {
        QVector<ServerItem *> going;
        for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it) {
            const int itemRow = row(it.key());
            if (it.value() && itemRow >= start && itemRow <= end)
                going.append(it.value());
        }
        for (ServerItem *widget : qAsConst(going))
            dropRowWidget(widget);
    }
    QListWidget::rowsAboutToBeRemoved(parent, start, end);
}

void ServerListWidget::updateEditorGeometries()
{
    QListWidget::updateEditorGeometries();
    placeRowWidgets();
}

void ServerListWidget::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    // Scrolling only moves the viewport's children; rows coming into view are elsewhere.
    placeRowWidgets();
}

ServerItem *ServerListWidget::makeRowWidget(QListWidgetItem *rowItem, QWidget *parent)
{
    auto *widget
        = new ServerItem(ServerItem::flagPixmap(rowItem->data(FlagRole).toString()),
                         rowItem->data(NameRole).toString(), rowItem->data(SpeedRole).toString(),
                         ServerItem::Labels::OnShow, parent);
    widget->m_styledByList = true;
    m_widgets.insert(rowItem, widget);
    m_items.insert(widget, rowItem);
    return widget;
}

void ServerListWidget::dropRowWidget(ServerItem *widget)
{
    // Later, not now: a speed result queued for it may still name it, and must not meet
    // another widget made at the same address.
    widget->hide();
    widget->deleteLater();
    if (QListWidgetItem *rowItem = m_items.take(widget)) {
        if (m_widgets.value(rowItem) == widget)
            m_widgets.remove(rowItem);
    }
    m_shown.removeAll(widget);
}

void ServerListWidget::placeRowWidgets()
{
    if (m_filling || m_placing)
        return;
    m_placing = true;
    // A pending layout would run inside indexAt(), and come back here.
    executeDelayedItemsLayout();

    const QRect area = viewport()->rect();
    int first = 0;
    int last = count() - 1;
    // In a single column the rows in view lie between the ones at the top and bottom edge;
    // anything else (or a gap at the top) gets every row looked at.
    if (viewMode() == ListMode && flow() == TopToBottom && !isWrapping()) {
        const QModelIndex top = indexAt(QPoint(area.center().x(), area.top()));
        const QModelIndex bottom = indexAt(QPoint(area.center().x(), area.bottom()));
        if (top.isValid())
            first = top.row();
        if (bottom.isValid())
            last = bottom.row();
    }

    QVector<ServerItem *> shown;
    for (int row = first; row <= last; ++row) {
        QListWidgetItem *rowItem = item(row);
        const QRect rect = visualItemRect(rowItem);
        if (!rect.isValid() || !rect.intersects(area))
            continue;
        ServerItem *widget = m_widgets.value(rowItem);
        if (!widget)
            widget = makeRowWidget(rowItem, viewport());
        else if (widget->parentWidget() != viewport())
            widget->setParent(viewport());
        widget->setGeometry(rect);
        widget->show();
        shown.append(widget);
    }
    // A hidden child of the viewport is not free either: the viewport walks all its children
    // on each scroll. Rows out of view wait on the shelf (setParent hides them).
    for (const QPointer<ServerItem> &widget : qAsConst(m_shown)) {
        if (widget && !shown.contains(widget) && widget->parentWidget() == viewport())
            widget->setParent(m_shelf);
    }
    m_shown.clear();
    for (ServerItem *widget : qAsConst(shown))
        m_shown.append(widget);
    m_placing = false;
}

void ServerListWidget::fill(const ServerInfoList &servers, const ServerInfoPtr &current,
                            int rowHeight)
{
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    m_filling = true;
    clear();
    // All rows in one insertion: one at a time, the view would react to each.
    QStringList texts;
    texts.reserve(servers.size());
    for (int i = 0; i < servers.size(); ++i)
        texts.append(QString());
    addItems(texts);
    QListWidgetItem *currentItem = nullptr;
    // Each row takes its values from a template item by assignment, which tells nobody: a row
    // in a list would tell the model of each setData(), and the model the view. Rows nobody
    // has looked at need no telling; the layout the insertion scheduled reads them all.
    QListWidgetItem values;
    values.setSizeHint(QSize(0, rowHeight));
    QHash<QString, QString> codes; // by country as the list spells it
    for (int i = 0; i < servers.size(); ++i) {
        const ServerInfoPtr &server = servers.at(i);
        auto code = codes.find(server->country);
        if (code == codes.end())
            code = codes.insert(server->country, flagCode(server->country));
        values.setData(HostRole, server->host);
        values.setData(NameRole, server->name);
        values.setData(FlagRole, *code);
        QListWidgetItem *rowItem = item(i);
        *rowItem = values;
        if (server == current)
            currentItem = rowItem;
    }
    doItemsLayout();
    if (currentItem)
        setCurrentItem(currentItem);
    m_filling = false;
    placeRowWidgets();
    setUpdatesEnabled(updates);
}

void fillServerRows(QListWidget *list, const ServerInfoList &servers, const ServerInfoPtr &current,
                    int rowHeight)
{
    if (auto *serverList = qobject_cast<ServerListWidget *>(list)) {
        serverList->fill(servers, current, rowHeight);
        return;
    }
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
        item->setData(ServerListWidget::HostRole, servers.at(i)->host);
        item->setData(ServerListWidget::NameRole, servers.at(i)->name);
    }
    // setItemWidget shows each widget: in a viewport on screen that would make its labels and
    // lay it out, for rows never seen. In a hidden one it only sets a flag.
    QWidget *viewport = list->viewport();
    const bool viewportOnScreen = viewport->isVisible();
    if (viewportOnScreen)
        viewport->hide();
    struct Flag
    {
        QString code;
        QPixmap picture;
    };
    QHash<QString, Flag> flags; // by country as the list spells it
    for (int i = 0; i < servers.size(); ++i) {
        const ServerInfoPtr &server = servers.at(i);
        QListWidgetItem *item = list->item(i);
        auto flag = flags.find(server->country);
        if (flag == flags.end()) {
            const QString code = flagCode(server->country);
            flag = flags.insert(server->country, {code, ServerItem::flagPixmap(code)});
        }
        item->setData(ServerListWidget::FlagRole, flag->code);
        auto *row = new ServerItem(flag->picture, server->name, QString(),
                                   ServerItem::Labels::OnShow, viewport);
        // Sized already, so showing it does not ask the labels for a size.
        row->resize(viewport->width(), rowHeight);
        list->setItemWidget(item, row);
        row->hide();
        if (server == current)
            list->setCurrentItem(item);
    }
    if (viewportOnScreen)
        viewport->show();
    list->doItemsLayout();
    list->setUpdatesEnabled(true);
}
