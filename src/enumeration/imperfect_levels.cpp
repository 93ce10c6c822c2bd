#include "enumeration/imperfect_levels.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <numeric>

#include "analysis/structure.h"
#include "enumeration/cnet_generator.h"
#include "enumeration/code_lines.h"
#include "enumeration/element_fill.h"
#include "enumeration/element_potentials.h"
#include "enumeration/on_threads.h"
#include "squares.h"

namespace {

// A c-net has at least the tetrahedron's 6 edges.
constexpr int least_cnet_edges = 6;
// Joins a task: enough to keep a thread busy a while.
constexpr std::size_t pieces_a_task = 512;
// A thread's codes are deduped once they pass this many bytes and twice
// what the last dedupe left, to hold the many ways one rectangle is made
// to about one copy.
constexpr std::size_t least_raw_bytes = std::size_t{1} << 24;

// The results by kind: perfect or not, trivially compound or not.
enum result_bin { perfect_trivial, perfect_other, imperfect_trivial, imperfect_other, bins };

std::vector<std::string> distinct(const std::vector<const std::string*>& texts)
{
    std::vector<std::string> codes;
    for (const std::string_view line : sorted_lines(texts)) codes.emplace_back(line);
    return codes;
}

void compact(std::string& text)
{
    std::string kept;
    for (const std::string_view line : sorted_lines({&text})) {
        kept += line;
        kept += '\n';
    }
    text = std::move(kept);
}

struct worker {
    std::string bin[bins];
    std::size_t kept[bins] = {};
    canonical_scratch canonical;
    std::vector<square_box> scratch;
    std::vector<std::int32_t> sides;

    // A compound rectangle made, judged by its squares alone.
    void take(std::vector<square_box>& squares, std::int64_t width, std::int64_t height)
    {
        sides.clear();
        for (const square_box& s : squares) sides.push_back(s.side);
        std::sort(sides.begin(), sides.end());
        const bool perfect = std::adjacent_find(sides.begin(), sides.end()) == sides.end();
        const bool trivial = has_full_square(squares, width, height);
        std::sort(squares.begin(), squares.end(), [](const square_box& a, const square_box& b) {
            return a.y != b.y ? a.y < b.y : a.x < b.x;
        });
        const int b = (perfect ? perfect_trivial : imperfect_trivial) + (trivial ? 0 : 1);
        append_canonical(squares, width, height, std::string(), canonical, bin[b]);
        if (bin[b].size() > std::max(least_raw_bytes, 2 * kept[b])) {
            compact(bin[b]);
            kept[b] = bin[b].size();
        }
    }
};

// One c-net, its battery and its elements: every way to fill them with
// pieces whose orders make `order` in all.
struct fill_work {
    const plane_darts& darts;
    const any_levels& levels;
    elements_network net;
    std::vector<int> orders;
    std::vector<const shape_group*> groups;
    std::vector<std::pair<std::int64_t, std::int64_t>> boxes;
    element_layout layout;
    std::vector<const piece*> chosen;
    std::vector<int> ways;
    worker& w;

    // The multiple of the layout that makes each element's scale whole.
    void place()
    {
        const std::size_t k = boxes.size();
        std::int64_t times = 1;
        std::vector<std::int64_t> t(k);
        for (std::size_t i = 0; i < k; ++i) {
            const std::int64_t width = ways[i] & 4 ? chosen[i]->height : chosen[i]->width;
            t[i] = width / boxes[i].first;
            const std::int64_t need = t[i] / std::gcd(t[i], layout.elements[i].side);
            times = times / std::gcd(times, need) * need;
        }
        const wide width = wide{layout.width} * times;
        const wide height = wide{layout.height} * times;
        if (!fits_side(width) || !fits_side(height))
            throw conversion_error("a compound rectangle leaves the 32-bit range of a side");
        std::vector<square_box>& out = w.scratch;
        out.clear();
        for (const laid_box& b : layout.squares) {
            out.push_back({static_cast<std::int32_t>(b.x * times),
                           static_cast<std::int32_t>(b.y * times),
                           static_cast<std::int32_t>(b.side * times)});
        }
        for (std::size_t i = 0; i < k; ++i) {
            const laid_box& b = layout.elements[i];
            place_piece(*chosen[i], ways[i], b.side * times / t[i], b.x * times, b.y * times, out);
        }
        w.take(out, static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
    }

    // Each element's piece of its shape, in each way that fits its box.
    void pieces(std::size_t i)
    {
        if (i == boxes.size()) {
            place();
            return;
        }
        const shape_group& g = *groups[i];
        const std::vector<piece>& of = levels.of_order[static_cast<std::size_t>(orders[i])];
        for (const std::uint32_t at : g.pieces) {
            const piece& p = of[at];
            chosen[i] = &p;
            // A square box takes a piece all 8 ways, an oblong one 4.
            const bool across = (boxes[i].first > boxes[i].second) != (p.width > p.height);
            const int from = g.longer == g.shorter || !across ? 0 : 4;
            const int to = g.longer == g.shorter || across ? orientations : 4;
            const std::uint8_t distinct =
                levels.ways_of_order[static_cast<std::size_t>(orders[i])][at];
            for (int way = from; way < to; ++way) {
                if (!((distinct >> way) & 1)) continue;
                ways[i] = way;
                pieces(i + 1);
            }
        }
    }

    // Each element's shape, either way round.
    void shapes(std::size_t i)
    {
        if (i == orders.size()) {
            if (lay_out_elements(darts, net, boxes, layout)) pieces(0);
            return;
        }
        for (const shape_group& g : levels.shapes_of_order[static_cast<std::size_t>(orders[i])]) {
            groups[i] = &g;
            for (int turned = 0; turned < (g.longer == g.shorter ? 1 : 2); ++turned) {
                boxes[i] = turned ? std::make_pair(g.shorter, g.longer)
                                  : std::make_pair(g.longer, g.shorter);
                shapes(i + 1);
            }
        }
    }

    // Each element's order, at least 2, `left` squares to share.
    void split(std::size_t i, int left)
    {
        const int after = static_cast<int>(orders.size() - i) - 1;
        if (i == orders.size()) {
            if (left == 0) shapes(0);
            return;
        }
        for (int o = 2; o + 2 * after <= left; ++o) {
            if (i + 1 == orders.size() && o != left) continue;
            if (static_cast<std::size_t>(o) >= levels.of_order.size()) break;
            orders[i] = o;
            split(i + 1, left - o);
        }
    }
};

// Every way to put `a` above `b`, each turned each of its distinct ways
// (`ways_a`, `ways_b`), scaled to a common width.
void join(const piece& a, std::uint8_t ways_a, const piece& b, std::uint8_t ways_b, worker& w)
{
    for (int way_a = 0; way_a < orientations; ++way_a) {
        if (!((ways_a >> way_a) & 1)) continue;
        const std::int64_t wa = way_a & 4 ? a.height : a.width;
        const std::int64_t ha = way_a & 4 ? a.width : a.height;
        for (int way_b = 0; way_b < orientations; ++way_b) {
            if (!((ways_b >> way_b) & 1)) continue;
            const std::int64_t wb = way_b & 4 ? b.height : b.width;
            const std::int64_t hb = way_b & 4 ? b.width : b.height;
            const std::int64_t g = std::gcd(wa, wb);
            const wide width = wide{wa} * (wb / g);
            const wide height = wide{ha} * (wb / g) + wide{hb} * (wa / g);
            if (!fits_side(width) || !fits_side(height))
                throw conversion_error("a compound rectangle leaves the 32-bit range of a side");
            w.scratch.clear();
            place_piece(a, way_a, wb / g, 0, 0, w.scratch);
            place_piece(b, way_b, wa / g, 0, ha * (wb / g), w.scratch);
            w.take(w.scratch, static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
        }
    }
}

struct task {
    int small_order = 0;    // a join: piece `small` of this order with those of the
    std::size_t small = 0;  // other order from `from` to `to`
    std::size_t from = 0;
    std::size_t to = 0;
    const plane_darts* darts = nullptr;  // a fill: the c-net, battery and elements
    int battery = 0;
    std::vector<int> elements;
};

}  // namespace

// A compound squared rectangle of order n has, at the top of its network's
// decomposition, a full cut (two pieces joined along a side) or a c-net whose
// edges are squares and k >= 0 sub-rectangles, each of order >= 2; k = 0 only
// where squares cross.
order_codes make_any_order(int order, any_levels& levels, bool keep, int jobs)
{
    if (levels.of_order.size() < static_cast<std::size_t>(order)) {
        levels.of_order.resize(static_cast<std::size_t>(order));
        levels.shapes_of_order.resize(static_cast<std::size_t>(order));
        levels.ways_of_order.resize(static_cast<std::size_t>(order));
    }
    order_codes codes;
    cnet_codes simple;
    if (order == 1) simple.simple_perfect = {"1 1 1 (1)"};
    if (order == 2) simple.simple_imperfect = {"2 2 1 (1,1)"};  // the domino: simple, no c-net
    if (order > 2) simple = codes_of_cnets(order, jobs);
    std::vector<task> tasks;
    for (int a = 1; order > 2 && 2 * a <= order; ++a) {
        const std::vector<piece>& small = levels.of_order[static_cast<std::size_t>(a)];
        const std::vector<piece>& large = levels.of_order[static_cast<std::size_t>(order - a)];
        for (std::size_t i = 0; i < small.size(); ++i) {
            for (std::size_t from = 2 * a == order ? i : 0; from < large.size();
                 from += pieces_a_task) {
                task t;
                t.small_order = a;
                t.small = i;
                t.from = from;
                t.to = std::min(large.size(), from + pieces_a_task);
                tasks.push_back(std::move(t));
            }
        }
    }
    std::deque<plane_darts> graphs;
    for (int edges = least_cnet_edges; edges <= order; ++edges) {
        // With k elements, order = edges - 1 - k + (their orders, each >= 2).
        const int most_elements = std::min(edges - 1, order - edges + 1);
        for_each_cnet(edges, cnet_share{}, true, [&](const plane_graph& g) {
            graphs.emplace_back();
            plane_darts& d = graphs.back();
            trace_darts(g, d);
            const int darts = static_cast<int>(d.head.size());
            std::vector<int> lower;
            for (int e = 0; e < darts; ++e)
                if (e < d.reverse[e]) lower.push_back(e);
            for (const int battery : lower) {
                std::vector<int> others;
                for (const int e : lower)
                    if (e != battery) others.push_back(e);
                for (std::uint32_t set = 1; set < (1u << others.size()); ++set) {
                    const int k = __builtin_popcount(set);
                    if (k > most_elements) continue;
                    task t;
                    t.darts = &d;
                    t.battery = battery;
                    for (std::size_t i = 0; i < others.size(); ++i)
                        if ((set >> i) & 1) t.elements.push_back(others[i]);
                    tasks.push_back(std::move(t));
                }
            }
        });
    }
    std::vector<worker> workers(static_cast<std::size_t>(std::max(1, jobs)));
    std::atomic<std::size_t> next{0};
    on_threads(static_cast<int>(workers.size()), [&](int at) {
        worker& w = workers[static_cast<std::size_t>(at)];
        try {
            for (std::size_t k; (k = next++) < tasks.size();) {
                const task& t = tasks[k];
                if (t.small_order > 0) {
                    const std::size_t a = static_cast<std::size_t>(t.small_order);
                    const std::size_t b = static_cast<std::size_t>(order) - a;
                    for (std::size_t j = t.from; j < t.to; ++j)
                        join(levels.of_order[a][t.small], levels.ways_of_order[a][t.small],
                             levels.of_order[b][j], levels.ways_of_order[b][j], w);
                    continue;
                }
                const std::size_t elements = t.elements.size();
                const int edges = static_cast<int>(t.darts->head.size()) / 2;
                fill_work f{*t.darts,
                            levels,
                            network_of_elements(*t.darts, t.battery, t.elements),
                            std::vector<int>(elements),
                            std::vector<const shape_group*>(elements),
                            std::vector<std::pair<std::int64_t, std::int64_t>>(elements),
                            element_layout(),
                            std::vector<const piece*>(elements),
                            std::vector<int>(elements),
                            w};
                f.split(0, order - (edges - 1 - static_cast<int>(elements)));
            }
        } catch (...) {
            // The others stop at their next task.
            next = tasks.size();
            throw;
        }
    });
    canonical_scratch canonical;
    for (const std::string& code : simple.crossed_compound) {
        piece p = piece_of_code(code, canonical);
        workers[0].take(p.squares, p.width, p.height);
    }
    std::vector<std::string> found[bins];
    for (int b = 0; b < bins; ++b) {
        std::vector<const std::string*> texts;
        for (const worker& w : workers) {
            texts.push_back(&w.bin[b]);
        }
        found[b] = distinct(texts);
        for (worker& w : workers) std::string().swap(w.bin[b]);
    }
    codes.simple = simple.simple_imperfect;
    codes.trivial = found[imperfect_trivial];
    codes.nontrivial = found[imperfect_other];
    if (keep) {
        add_order({&simple.simple_perfect, &simple.simple_imperfect, &found[perfect_trivial],
                   &found[perfect_other], &found[imperfect_trivial], &found[imperfect_other]},
                  levels);
    }
    return codes;
}
