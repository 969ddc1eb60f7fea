#pragma once

#include <chrono>
#include <cstddef>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

namespace backend {

// Counts attempts per key (a client address, an account) in a window that opens with the
// key's first attempt: within it a key has `limit` attempts, then waits for it to close.
// At most `maxKeys` keys are tracked; a new one pushes out the least recently used, so a
// flood of keys cannot grow the memory. Thread-safe.
class AttemptLimiter
{
public:
    using Clock = std::chrono::steady_clock;

    AttemptLimiter(int limit, Clock::duration window, size_t maxKeys);

    // How long `key` must wait before its next attempt; zero: it may go ahead.
    Clock::duration wait(const std::string &key, Clock::time_point now);
    // Counts one attempt of `key`.
    void count(const std::string &key, Clock::time_point now);
    // wait(), and count() when the attempt may go ahead.
    Clock::duration take(const std::string &key, Clock::time_point now);

private:
    struct Entry
    {
        std::string key;
        Clock::time_point opened;
        int attempts = 0;
    };
    using Entries = std::list<Entry>;

    Entries::iterator touch(const std::string &key);
    Clock::duration waitLocked(const std::string &key, Clock::time_point now);
    void countLocked(const std::string &key, Clock::time_point now);

    const int m_limit;
    const Clock::duration m_window;
    const size_t m_maxKeys;
    std::mutex m_mutex;
    Entries m_entries; // most recently used first
    std::unordered_map<std::string, Entries::iterator> m_index;
};

} // namespace backend
