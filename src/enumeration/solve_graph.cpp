#include "enumeration/solve_graph.h"

#include <algorithm>

#include "analysis/simple_test.h"

namespace {

// The distinct lines of `text`: the batteries of one automorphism orbit
// give one rectangle, those of two orbits two.
std::int64_t distinct_lines(const std::string& text, std::vector<std::string_view>& views)
{
    views.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        views.emplace_back(text.data() + start, end - start);
        start = end + 1;
    }
    std::sort(views.begin(), views.end());
    return std::unique(views.begin(), views.end()) - views.begin();
}

}  // namespace

bool solve_cnet(solve_scratch& scratch, const bool (&wanted)[kinds], bool count_uncrossed,
                found_codes& found, std::string& problem)
{
    plane_darts& d = scratch.darts;
    graph_currents& c = scratch.currents;
    const bool squares_only = !wanted[perfect_oblong] && !wanted[imperfect_oblong];
    if (squares_only && exact_solution_fits(d)) {
        if (tree_count_is_odd(d)) return true;
        screen_squares(d, scratch.screen);
        if (scratch.screen.sure && scratch.screen.candidates.empty()) return true;
    }
    if (!solve_currents(d, c, problem)) return false;
    if (d.faces < 0) trace_faces(d);
    for (std::string& own : scratch.own_lines) own.clear();
    const int darts = static_cast<int>(d.head.size());
    for (int e = 0; e < darts; ++e) {
        // A battery the other way round gives the same rectangle upside down.
        if (e > d.reverse[e]) continue;
        const int s = d.tail[e];
        const int t = d.head[e];
        // tau(G/e) = p_s - p_t: whether it is a square costs four numbers.
        const std::int64_t height = c.at(s, s) - c.at(s, t) - c.at(t, s) + c.at(t, t);
        if (squares_only && height != c.trees - height) continue;
        battery_rectangle& r = scratch.rectangle;
        const flow_result result = rectangle_from_flow(d, c, e, r);
        if (result == flow_result::dropped) continue;
        if (result == flow_result::too_large) {
            problem = "its rectangle of " + std::to_string(r.width) + " x " +
                      std::to_string(r.height) + " leaves the 32-bit range of a side";
            return false;
        }
        const bool perfect = all_sides_differ(r.squares, r.width, scratch.check);
        const int kind = (perfect ? perfect_oblong : imperfect_oblong) + (r.square ? 1 : 0);
        if (!wanted[kind]) continue;
        // Where four squares meet at a point a c-net can still give a
        // compound rectangle: the check's geometric test judges those.
        const bool crossed = four_meet_at_a_point(r);
        if (crossed && has_inner_rectangle(r.squares, r.width, r.height, scratch.check)) {
            if (scratch.keep_crossed_compound)
                append_canonical(r.squares, r.width, r.height, std::string(), scratch.canonical,
                                 found.crossed_compound);
            continue;
        }
        std::string& lines =
            crossed || !count_uncrossed ? found.lines[kind] : scratch.own_lines[kind];
        append_canonical(r.squares, r.width, r.height, std::string(), scratch.canonical, lines);
    }
    if (!count_uncrossed) return true;
    // The c-net has darts - 1 squares a rectangle: its order.
    const int order = darts / 2 - 1;
    for (int kind = 0; kind < kinds; ++kind) {
        if (scratch.own_lines[kind].empty()) continue;
        found.counted[kind][order] += distinct_lines(scratch.own_lines[kind], scratch.own_views);
    }
    return true;
}
