#pragma once

#include "serverinfo.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

class QLabel;
class QListWidget;

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

    QLabel *flagLabel() const { return m_flag; }
    QLabel *nameLabel() const { return m_name; }
    QLabel *speedLabel() const { return m_speed; }

    // The row picture of a flag code (flagCode()): ":/flag/<code>.png" scaled to 50 x 25.
    static QPixmap flagPixmap(const QString &code);

private:
    QLabel *m_flag;
    QLabel *m_name;
    QLabel *m_speed;
};

// Replaces the rows of list with one ServerItem per server (host as Qt::UserRole data, rows
// rowHeight high) and makes current's row the current one.
void fillServerRows(QListWidget *list, const ServerInfoList &servers, const ServerInfoPtr &current,
                    int rowHeight);
