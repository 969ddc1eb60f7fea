#pragma once

#include <QPixmap>
#include <QString>
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
