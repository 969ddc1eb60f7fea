#pragma once

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QSystemTrayIcon>
#include <QWidget>

class QLabel;
class QMovie;

// Where a balloon goes: the arrow side from the first size hint, the window position from
// the final one (after the arrow margins are applied).
struct BalloonSide
{
    bool arrowAtTop = true;
    bool arrowAtLeft = true;
};
BalloonSide balloonSide(const QRect &screen, const QPoint &pos, const QSize &sizeHint);
QPoint balloonPosition(const QRect &screen, const QPoint &pos, const QSize &sizeHint,
                       const BalloonSide &side);

// The program's notification bubble: a top-level popup whose arrow points at a screen
// position. At most one exists; each showBalloon replaces the previous one. It closes on a
// click anywhere on it and after its time-out, unless the mouse is over it then (it then
// stays until clicked or replaced). GUI thread only.
class QBalloonTip : public QWidget
{
    Q_OBJECT

public:
    // Plain form: no icon, no title, arrow shown; msecs <= 0 means 10 s.
    static void showBalloon(const QString &message, const QPoint &pos, int msecs);
    // msecs < 1 means 10 s. An empty title hides the title and the close button.
    static void showBalloon(QSystemTrayIcon::MessageIcon icon, const QString &title,
                            const QString &message, const QPoint &pos, int msecs, bool showArrow);
    // Animation form; the movie is not owned and starts when the balloon shows.
    // msecs < 0 means 10 s, 0 means no time-out.
    static void showBalloon(QMovie *movie, int width, int height, const QPoint &pos, int msecs,
                            bool showArrow);
    // Hides and deletes the current balloon; nothing without one.
    static void hideBalloon();

    // The current balloon, or null.
    static QBalloonTip *current();

    ~QBalloonTip() override;

    BalloonSide side() const { return m_side; }
    // Id of the running time-out timer, -1 when none runs.
    int timeoutTimerId() const { return m_timerId; }

protected:
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QBalloonTip(QSystemTrayIcon::MessageIcon icon, const QString &title, const QString &message);
    QBalloonTip(QMovie *movie, int width, int height);
    void setUpWindow();
    void balloon(const QPoint &pos, int msecs, bool showArrow);

    QPixmap m_pixmap;
    int m_timerId = -1;
    QMovie *m_movie = nullptr;
    QLabel *m_movieLabel = nullptr;
    BalloonSide m_side;
};
