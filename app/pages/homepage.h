#pragma once

#include "page.h"

#include <QPixmap>

#include <functional>

struct ConnectionView;

// The turning image shown while the tunnel is busy; its angle comes from the controller.
class BusyImage : public QWidget
{
    Q_OBJECT

public:
    BusyImage(std::function<float()> nextAngle, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<float()> m_nextAngle;
    QPixmap m_pixmap;
};

// The first page: account line, status circle, chosen server, connect and subscribe buttons.
class HomePage : public Page
{
    Q_OBJECT

public:
    HomePage(std::function<float()> spinAngle, QWidget *parent);

    void setConnectionView(const ConnectionView &view);
    void setServer(const QString &flagCode, const QString &name);
    void setConnectEnabled(bool enabled);
    void setAccount(const QString &email, const QString &expires);
    void setSignedOut();
    // The busy image is due for a repaint.
    void spinTick();

signals:
    void connectClicked();
    void chooseServerClicked();
    // The account button or link: to the login page, or the account page when signed in.
    void accountClicked();
    void helpClicked();
    void buyClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *m_btnConnect;
    QPushButton *m_btnSelect;
    QLabel *m_serverName;
    QLabel *m_loginLink;
    QLabel *m_accountLine;
    QLabel *m_circle;
    BusyImage *m_busyImage;
};
