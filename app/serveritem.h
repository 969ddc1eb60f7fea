#pragma once

#include "serverinfo.h"

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

    // The latency text, set by the window's slotUpdateSpeed.
    void setSpeed(const QString &speed);
    QString speed() const;
    QString name() const;

    // A row made by fillServerRows gets its labels when first shown or asked for them.
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
    friend void fillServerRows(QListWidget *, const ServerInfoList &, const ServerInfoPtr &, int);

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

// The list of the server page. QAbstractItemView shows and moves every row widget on each
// layout, and every shown row costs the window work against all its siblings: with thousands
// of rows that grows with the square of the list. This list shows and places only the row
// widgets in view, again as it scrolls; ServerItem rows out of view wait on a hidden shelf
// widget, out of the viewport. itemWidget() still gives every row's widget.
class ServerListWidget : public QListWidget
{
    Q_OBJECT

public:
    explicit ServerListWidget(QWidget *parent = nullptr);

protected:
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void placeRowWidgets(bool everyRow);
    void showRow(QWidget *widget, const QModelIndex &index, QStyleOptionViewItem *option);
    void hideRow(QWidget *widget);

    QWidget *m_shelf;
    QVector<QPointer<QWidget>> m_shown;
};

// Replaces the rows of list with one ServerItem per server (host as Qt::UserRole data, rows
// rowHeight high) and makes current's row the current one. Works on any QListWidget; on a
// ServerListWidget in time linear in the number of servers.
void fillServerRows(QListWidget *list, const ServerInfoList &servers, const ServerInfoPtr &current,
                    int rowHeight);
