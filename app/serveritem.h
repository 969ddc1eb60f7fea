#pragma once

#include "serverinfo.h"

#include <QHash>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

class QLabel;

// One row of the server page: flag, server name and latency, left to right.
class ServerItem : public QWidget
{
    Q_OBJECT

public:
    ServerItem(const QPixmap &flag, const QString &name, const QString &speed,
               QWidget *parent = nullptr);

    // The latency text; in a ServerListWidget set through its setRowSpeed().
    void setSpeed(const QString &speed);
    QString speed() const;
    QString name() const;

    // A row made by a list gets its labels when first shown or asked for them.
    QLabel *flagLabel() const;
    QLabel *nameLabel() const;
    QLabel *speedLabel() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The row picture of a flag code (flagCode()): ":/flag/<code>.png" scaled to 50 x 25.
    static QPixmap flagPixmap(const QString &code);

protected:
    bool event(QEvent *event) override;

private:
    bool m_styledByList = false;
    friend void fillServerRows(QListWidget *, const ServerInfoList &, const ServerInfoPtr &, int);
    friend class ServerListWidget;

    enum class Labels { Now, OnShow };
    ServerItem(const QPixmap &flag, const QString &name, const QString &speed, Labels labels,
               QWidget *parent);
    void makeLabels();

    // What the labels show once made.
    QPixmap m_flagPixmap;
    QString m_nameText;
    QString m_speedText;
    QLabel *m_flag = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_speed = nullptr;
};

// The list of the server page. Its rows hold their server in item data (the roles below);
// a row gets its ServerItem only when it comes into view, or when asked for by rowWidget(),
// so filling costs the same whatever the length of the list. Made widgets stay with their row
// until it goes; the ones out of view wait on a hidden shelf widget, out of the viewport
// (QAbstractItemView would show and move every widget on each layout, and every shown one
// costs the window work against all its siblings). itemWidget() does not know these widgets.
class ServerListWidget : public QListWidget
{
    Q_OBJECT

public:
    enum Role {
        HostRole = Qt::UserRole, // what any list of servers has at Qt::UserRole
        NameRole,
        FlagRole, // flagCode() of the country
        SpeedRole, // the latency text, empty until known
    };

    explicit ServerListWidget(QWidget *parent = nullptr);

    // The row's widget, made now when the row has none (hidden while out of view); null for a
    // row that does not exist.
    ServerItem *rowWidget(int row);
    // The row's widget only if it has one already.
    ServerItem *existingRowWidget(int row) const;
    // The row of one of this list's row widgets, else -1 (a widget whose row went included).
    int rowOfWidget(const ServerItem *widget) const;

    // Stored in the row, and shown at once when it has a widget.
    void setRowSpeed(int row, const QString &speed);
    QString rowSpeed(int row) const;

public slots:
    void reset() override;

protected:
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

private:
    friend void fillServerRows(QListWidget *, const ServerInfoList &, const ServerInfoPtr &, int);

    void fill(const ServerInfoList &servers, const ServerInfoPtr &current, int rowHeight);
    ServerItem *makeRowWidget(QListWidgetItem *item, QWidget *parent);
    void dropRowWidget(ServerItem *widget);
    void placeRowWidgets();

    QWidget *m_shelf;
    QHash<const QListWidgetItem *, QPointer<ServerItem>> m_widgets;
    QHash<const ServerItem *, QListWidgetItem *> m_items;
    QVector<QPointer<ServerItem>> m_shown;
    bool m_filling = false;
    bool m_placing = false;
};

// Replaces the rows of list with one row per server (host as Qt::UserRole data, name and flag
// code as the roles of ServerListWidget, rows rowHeight high) and makes current's row the
// current one. A ServerListWidget gets no row widgets but those in view; any other
// QListWidget gets a ServerItem for every row.
void fillServerRows(QListWidget *list, const ServerInfoList &servers, const ServerInfoPtr &current,
                    int rowHeight);
