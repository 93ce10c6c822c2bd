// Work shared by a few threads: one way to start them, wait for them and
// hand a failure on.
#pragma once

#include <exception>
#include <thread>
#include <vector>

// Runs work(t) for t = 0 .. threads - 1, t = 0 on the calling thread, and
// once every one has ended rethrows the first failure (by t).
template <class Work>
void on_threads(int threads, const Work& work)
{
    if (threads < 1) threads = 1;
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(threads));
    const auto guarded = [&](int t) {
        try {
            work(t);
        } catch (...) {
            failures[static_cast<std::size_t>(t)] = std::current_exception();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(guarded, t);
    guarded(0);
    for (std::thread& t : pool) t.join();
    for (const std::exception_ptr& f : failures)
        if (f) std::rethrow_exception(f);
}
