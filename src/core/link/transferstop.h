#pragma once

#include <atomic>

// A request from outside to stop running transfers, safe to make from a
// signal handler or another thread. The first request lets no new station
// and no new step start, while a write in progress runs to its end (a write
// cut off leaves the station half programmed). The second ends every
// transfer at once, at its next poll of the line.
class TransferStop
{
public:
    void request() { m_requests.fetch_add(1, std::memory_order_relaxed); }
    bool stopRequested() const { return m_requests.load(std::memory_order_relaxed) >= 1; }
    bool abortRequested() const { return m_requests.load(std::memory_order_relaxed) >= 2; }

private:
    static_assert(std::atomic<int>::is_always_lock_free, "the request is made from signal handlers");
    std::atomic<int> m_requests{0};
};
