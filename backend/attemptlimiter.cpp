#include "attemptlimiter.h"

namespace backend {

AttemptLimiter::AttemptLimiter(int limit, Clock::duration window, size_t maxKeys)
    : m_limit(limit)
    , m_window(window)
    , m_maxKeys(maxKeys ? maxKeys : 1)
{ }

AttemptLimiter::Entries::iterator AttemptLimiter::touch(const std::string &key)
{
    const auto found = m_index.find(key);
    if (found == m_index.end())
        return m_entries.end();
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return found->second;
}

AttemptLimiter::Clock::duration AttemptLimiter::waitLocked(const std::string &key,
                                                           Clock::time_point now)
{
    // A refused key stays tracked while it keeps trying.
    const Entries::iterator entry = touch(key);
    if (entry == m_entries.end() || entry->attempts < m_limit || now >= entry->opened + m_window)
        return Clock::duration::zero();
    return entry->opened + m_window - now;
}

void AttemptLimiter::countLocked(const std::string &key, Clock::time_point now)
{
    Entries::iterator entry = touch(key);
    if (entry == m_entries.end()) {
        if (m_index.size() >= m_maxKeys) {
            m_index.erase(m_entries.back().key);
            m_entries.pop_back();
        }
        m_entries.push_front({key, now, 0});
        entry = m_entries.begin();
        m_index.emplace(key, entry);
    } else if (now >= entry->opened + m_window) {
        entry->opened = now;
        entry->attempts = 0;
    }
    ++entry->attempts;
}

AttemptLimiter::Clock::duration AttemptLimiter::wait(const std::string &key, Clock::time_point now)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return waitLocked(key, now);
}

void AttemptLimiter::count(const std::string &key, Clock::time_point now)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    countLocked(key, now);
}

AttemptLimiter::Clock::duration AttemptLimiter::take(const std::string &key, Clock::time_point now)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const Clock::duration left = waitLocked(key, now);
    if (left == Clock::duration::zero())
        countLocked(key, now);
    return left;
}

} // namespace backend
