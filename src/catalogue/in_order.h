// Work on a stream of items on several threads, handed on in the order the
// items came: a catalogue run's output is the same whatever the number of
// threads.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "files/interrupt_cleanup.h"

// What a run in order needs: `read` gives the next item (false at the end),
// `work` turns it into its finished output on worker `w` (0 to jobs - 1),
// `write` hands it on. `read` and `write` run on the calling thread, one
// item at a time and in order; `size` tells how much memory an item holds.
template <typename Item>
struct in_order_steps {
    std::function<bool(Item&)> read;
    std::function<void(Item&, int)> work;
    std::function<void(Item&)> write;
    std::function<std::size_t(const Item&)> size;
};

// Runs every item through the steps with `jobs` workers. At most
// `most_items` items, and about `most_bytes` of them, are between read and
// write at once, so memory does not grow with the stream. An exception in
// any step stops the run and is thrown again here once every thread has
// stopped.
template <typename Item>
void run_in_order(int jobs, std::size_t most_items, std::size_t most_bytes,
                  const in_order_steps<Item>& steps)
{
    const auto alone = [&] {
        Item item;
        while (steps.read(item)) {
            steps.work(item, 0);
            steps.write(item);
        }
    };
    if (jobs <= 1) return alone();
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<std::uint64_t, std::unique_ptr<Item>>> waiting;
    std::map<std::uint64_t, std::unique_ptr<Item>> done;
    bool stopping = false;
    std::exception_ptr failure;

    const auto worker = [&](int w) {
        // Signals are handled on the calling thread, which knows that no
        // worker is making a file meanwhile (make_temporary).
        block_interrupts_in_this_thread();
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stopping || !waiting.empty(); });
            if (waiting.empty()) return;
            auto next = std::move(waiting.front());
            waiting.pop_front();
            lock.unlock();
            try {
                steps.work(*next.second, w);
            } catch (...) {
                lock.lock();
                if (!failure) failure = std::current_exception();
                stopping = true;
                changed.notify_all();
                return;
            }
            lock.lock();
            done.emplace(next.first, std::move(next.second));
            changed.notify_all();
        }
    };
    std::vector<std::thread> workers;
    const auto stop = [&] {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
            waiting.clear();
        }
        changed.notify_all();
        for (std::thread& t : workers) t.join();
    };
    // With fewer threads than asked for the output is the same; with none,
    // the items are worked on here.
    for (int w = 0; w < jobs; ++w) {
        try {
            workers.emplace_back(worker, w);
        } catch (const std::system_error&) {
            break;
        }
    }
    if (workers.empty()) return alone();
    try {
        std::uint64_t read = 0;
        std::uint64_t written = 0;
        std::size_t bytes = 0;  // of the items read and not yet written
        bool ended = false;
        for (;;) {
            std::unique_ptr<Item> ready;
            {
                std::unique_lock<std::mutex> lock(mutex);
                if (failure) break;
                const bool room = read - written < most_items && bytes < most_bytes;
                if (ended || !room) {
                    if (ended && written == read) break;
                    changed.wait(lock, [&] { return failure || done.count(written) != 0; });
                    if (failure) break;
                }
                const auto found = done.find(written);
                if (found != done.end()) {
                    ready = std::move(found->second);
                    done.erase(found);
                }
            }
            if (ready) {
                bytes -= steps.size(*ready);
                steps.write(*ready);
                ++written;
                continue;
            }
            auto item = std::make_unique<Item>();
            if (!steps.read(*item)) {
                ended = true;
                continue;
            }
            bytes += steps.size(*item);
            {
                std::lock_guard<std::mutex> lock(mutex);
                waiting.emplace_back(read++, std::move(item));
            }
            changed.notify_one();
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
    if (failure) std::rethrow_exception(failure);
}
