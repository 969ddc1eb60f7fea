#pragma once

#include <QObject>
#include <QTimer>

// Limits how often a button is served: the first `limit` clicks are served; the next one
// starts a single-shot timer after which the count starts again; clicks until then do
// nothing. GUI thread only.
class RefreshLimiter : public QObject
{
    Q_OBJECT

public:
    explicit RefreshLimiter(int limit = 5, int resetMs = 300000, QObject *parent = nullptr);

    // Counts the click; true when it is served.
    bool click();
    int count() const { return m_count; }
    int limit() const { return m_limit; }
    // The reset timer, for tests that shorten or watch it.
    QTimer *resetTimer() { return &m_reset; }

private:
    int m_limit;
    int m_count = 0;
    QTimer m_reset;
};
