#include "enumeration/compound_levels.h"

#include <algorithm>
#include <atomic>
#include <deque>

#include "analysis/structure.h"
#include "enumeration/cnet_generator.h"
#include "enumeration/code_lines.h"
#include "enumeration/compound_build.h"
#include "enumeration/on_threads.h"
#include "squares.h"

namespace {

// The smallest perfect rectangle other than a square has 9 squares.
constexpr int least_perfect_piece = 9;
// A c-net has at least the tetrahedron's 6 edges.
constexpr int least_cnet_edges = 6;
// Joins a task: enough to keep a thread busy a while.
constexpr std::size_t pieces_a_task = 512;

std::vector<std::string> distinct(const std::vector<const std::string*>& texts)
{
    std::vector<std::string> codes;
    for (const std::string_view line : sorted_lines(texts)) codes.emplace_back(line);
    return codes;
}

}  // namespace

// A compound perfect rectangle of order n is, at the top of its
// structure, two pieces along a full side (one of them a square when it is
// trivially compound), or a c-net whose edges are squares but one, a
// sub-rectangle of order >= 9 (two need n >= 21; this builds to order 20).
order_codes make_order(int order, perfect_levels& levels, bool keep, int jobs)
{
    if (levels.of_order.size() < static_cast<std::size_t>(order))
        levels.of_order.resize(static_cast<std::size_t>(order));
    order_codes codes;
    codes.simple = order == 1 ? std::vector<std::string>{"1 1 1 (1)"} : simple_perfect_codes(order);
    // The work in tasks: one piece joined to every one of the other order,
    // or one c-net's battery and element filled with every piece.
    struct task {
        const piece* small = nullptr;
        const std::vector<piece>* others = nullptr;
        std::size_t from = 0;
        std::size_t to = 0;
        const plane_darts* darts = nullptr;
        const element_network* net = nullptr;
    };
    std::vector<task> tasks;
    for (int a = 1; 2 * a <= order; ++a) {
        const int b = order - a;
        if (a != 1 && a < least_perfect_piece) continue;
        const std::vector<piece>& small = levels.of_order[static_cast<std::size_t>(a)];
        const std::vector<piece>& large = levels.of_order[static_cast<std::size_t>(b)];
        // In runs of the other order's pieces: a square is one piece of order 1.
        for (std::size_t i = 0; i < small.size(); ++i) {
            for (std::size_t from = a == b ? i : 0; from < large.size(); from += pieces_a_task)
                tasks.push_back({&small[i], &large, from,
                                 std::min(large.size(), from + pieces_a_task), nullptr, nullptr});
        }
    }
    std::deque<plane_darts> graphs;
    std::deque<std::vector<element_network>> networks;
    for (int edges = least_cnet_edges; order - edges + 2 >= least_perfect_piece; ++edges) {
        const std::vector<piece>& inner =
            levels.of_order[static_cast<std::size_t>(order - edges + 2)];
        if (inner.empty()) continue;
        for_each_cnet(edges, cnet_share{}, true, [&](const plane_graph& g) {
            graphs.emplace_back();
            trace_darts(g, graphs.back());
            networks.push_back(element_networks(graphs.back()));
            for (const element_network& net : networks.back())
                tasks.push_back({nullptr, &inner, 0, inner.size(), &graphs.back(), &net});
        });
    }
    struct worker {
        std::string trivial;
        std::string nontrivial;
        canonical_scratch canonical;
        std::vector<square_box> scratch;
    };
    std::vector<worker> workers(static_cast<std::size_t>(std::max(1, jobs)));
    std::atomic<std::size_t> next{0};
    on_threads(static_cast<int>(workers.size()), [&](int at) {
        worker& w = workers[static_cast<std::size_t>(at)];
        const made_rectangle made = [&](const std::vector<square_box>& squares, std::int64_t width,
                                        std::int64_t height) {
            std::string& text = has_full_square(squares, width, height) ? w.trivial : w.nontrivial;
            append_canonical(squares, width, height, std::string(), w.canonical, text);
        };
        try {
            for (std::size_t k; (k = next++) < tasks.size();) {
                const task& t = tasks[k];
                for (std::size_t j = t.from; j < t.to; ++j) {
                    const piece& p = (*t.others)[j];
                    if (t.small != nullptr) {
                        join_pieces(*t.small, p, true, w.scratch, made);
                    } else if (!fill_element(*t.darts, *t.net, p, true, w.scratch, made)) {
                        throw conversion_error("a compound rectangle of order " +
                                               std::to_string(order) +
                                               " leaves the 32-bit range of a side");
                    }
                }
            }
        } catch (...) {
            // The others stop at their next task.
            next = tasks.size();
            throw;
        }
    });
    std::vector<const std::string*> trivial;
    std::vector<const std::string*> nontrivial;
    for (const worker& w : workers) {
        trivial.push_back(&w.trivial);
        nontrivial.push_back(&w.nontrivial);
    }
    codes.trivial = distinct(trivial);
    codes.nontrivial = distinct(nontrivial);
    if (keep) {
        canonical_scratch canonical;
        std::vector<piece> all;
        for (const auto* part : {&codes.simple, &codes.trivial, &codes.nontrivial}) {
            for (const std::string& code : *part) all.push_back(piece_of_code(code, canonical));
        }
        levels.of_order.push_back(std::move(all));
    }
    return codes;
}
