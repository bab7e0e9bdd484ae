#pragma once

#include <functional>
#include <latch>
#include <thread>
#include <vector>

// Runs body(0) ... body(threads - 1), each on a thread of its own, all let
// go at one moment, and waits for them: for races between two steps (a look
// at a name and the taking of it) that one thread never shows.
inline void atOneMoment(int threads, const std::function<void(int)> &body)
{
    std::latch start(threads);
    std::vector<std::thread> running;
    for (int i = 0; i < threads; ++i)
        running.emplace_back([&body, &start, i] {
            start.arrive_and_wait();
            body(i);
        });
    for (std::thread &thread : running)
        thread.join();
}
