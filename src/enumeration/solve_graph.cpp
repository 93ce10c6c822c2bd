#include "enumeration/solve_graph.h"

#include "analysis/simple_test.h"

bool solve_cnet(solve_scratch& scratch, const bool (&wanted)[kinds], found_codes& found,
                std::string& problem)
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
        if (four_meet_at_a_point(r) &&
            has_inner_rectangle(r.squares, r.width, r.height, scratch.check)) {
            continue;
        }
        append_canonical(r.squares, r.width, r.height, std::string(), scratch.canonical,
                         found.lines[kind]);
    }
    return true;
}
