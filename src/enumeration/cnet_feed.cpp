#include "enumeration/cnet_feed.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "enumeration/cnet_generator.h"
#include "enumeration/embedding.h"

namespace {

constexpr std::size_t most_bytes_in_flight = 64 << 20;

// Batches from the generator's thread to the reader of the run in order.
struct batch_queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::unique_ptr<graph_batch>> ready;
    std::size_t most = 1;
    bool finished = false;  // the generator has ended
    bool stopping = false;  // the run has: the generator is to stop too
    std::exception_ptr failure;
};

// Thrown through the generator to end it early.
struct stopped {};

}  // namespace

void feed_cnets(int edges, std::int64_t k, std::int64_t n, int jobs, std::size_t batch_graphs,
                in_order_steps<graph_batch>& steps)
{
    // No c-net has fewer edges than the tetrahedron.
    if (edges < 6) return;
    const cnet_share share{k, n};
    auto batch = std::make_unique<graph_batch>();
    if (jobs <= 1) {
        const auto finish = [&] {
            steps.work(*batch, 0);
            steps.write(*batch);
            batch = std::make_unique<graph_batch>();
        };
        for_each_embedded_cnet(edges, share, true, [&](const cnet::embedding& g, const auto&) {
            batch->generated.push_back(g);
            if (batch->generated.size() == batch_graphs) finish();
        });
        if (!batch->generated.empty()) finish();
        return;
    }
    batch_queue queue;
    queue.most = static_cast<std::size_t>(2 * jobs + 2);
    const auto hand_on = [&] {
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.changed.wait(lock, [&] { return queue.stopping || queue.ready.size() < queue.most; });
        if (queue.stopping) throw stopped{};
        queue.ready.push_back(std::move(batch));
        queue.changed.notify_all();
        batch = std::make_unique<graph_batch>();
    };
    std::thread generator([&] {
        try {
            for_each_embedded_cnet(edges, share, true, [&](const cnet::embedding& g, const auto&) {
                batch->generated.push_back(g);
                batch->bytes += sizeof g;
                if (batch->generated.size() == batch_graphs) hand_on();
            });
            if (!batch->generated.empty()) hand_on();
        } catch (const stopped&) {
        } catch (...) {
            std::lock_guard<std::mutex> lock(queue.mutex);
            queue.failure = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(queue.mutex);
        queue.finished = true;
        queue.changed.notify_all();
    });
    const auto stop = [&] {
        {
            std::lock_guard<std::mutex> lock(queue.mutex);
            queue.stopping = true;
            queue.changed.notify_all();
        }
        generator.join();
    };
    steps.read = [&](graph_batch& b) {
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.changed.wait(lock, [&] { return queue.finished || !queue.ready.empty(); });
        if (queue.ready.empty()) {
            if (queue.failure) std::rethrow_exception(queue.failure);
            return false;
        }
        b = std::move(*queue.ready.front());
        queue.ready.pop_front();
        queue.changed.notify_all();
        return true;
    };
    try {
        run_in_order(jobs, static_cast<std::size_t>(4 * jobs + 2), most_bytes_in_flight, steps);
    } catch (...) {
        stop();
        throw;
    }
    stop();
}
