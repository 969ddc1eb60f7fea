#include "refreshlimiter.h"

#include <limits>

RefreshLimiter::RefreshLimiter(int limit, int resetMs, QObject *parent)
    : QObject(parent)
    , m_limit(limit)
{
    m_reset.setSingleShot(true);
    m_reset.setInterval(resetMs);
    connect(&m_reset, &QTimer::timeout, this, [this] { m_count = 0; });
}

bool RefreshLimiter::click()
{
    if (m_count < std::numeric_limits<int>::max())
        ++m_count;
    if (m_count <= m_limit)
        return true;
    // Only the first refused click starts the timer; later ones must not push it back.
    if (m_count == m_limit + 1)
        m_reset.start();
    return false;
}
