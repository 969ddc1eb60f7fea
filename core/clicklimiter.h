#pragma once

#include <QObject>

class QTimer;

// Guards a button against being hammered: the first `served` clicks are served; the next
// one starts a single-shot reset timer, and every click until it fires is refused.
// GUI thread only.
class ClickLimiter : public QObject
{
    Q_OBJECT

public:
    explicit ClickLimiter(int served, int resetMs = 300000, QObject *parent = nullptr);

    // Counts the click; true when it is served.
    bool click();
    int count() const { return m_count; }
    QTimer *resetTimer() const { return m_timer; }

private:
    int m_served;
    int m_count = 0;
    QTimer *m_timer;
};
