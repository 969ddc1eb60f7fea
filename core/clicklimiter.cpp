#include "clicklimiter.h"

#include <QTimer>

ClickLimiter::ClickLimiter(int served, int resetMs, QObject *parent)
    : QObject(parent)
    , m_served(served)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(resetMs);
    connect(m_timer, &QTimer::timeout, this, [this] { m_count = 0; });
}

bool ClickLimiter::click()
{
    // Saturate: a click storm while blocked must not wrap the counter around.
    if (m_count <= m_served)
        ++m_count;
    if (m_count <= m_served)
        return true;
    // Only the first refused click starts the timer; later ones must not push it back.
    if (!m_timer->isActive())
        m_timer->start();
    return false;
}
