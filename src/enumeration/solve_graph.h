// Every edge of a c-net as the battery: the codes of the simple squared
// rectangles it gives, by kind.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/canonical.h"
#include "enumeration/currents.h"
#include "enumeration/flow_rectangle.h"
#include "enumeration/plane_check.h"
#include "enumeration/square_filter.h"

// The four kinds of simple squared rectangle, as bins of codes.
enum rectangle_kind { perfect_oblong, perfect_square, imperfect_oblong, imperfect_square };
constexpr int kinds = 4;

// Canonical lines, one after the other, of each kind; the same rectangle
// may be there more than once (automorphisms, self-dual c-nets, crosses).
// A count keeps only the lines that another c-net could give again and
// counts the rest here, by order, each rectangle once.
struct found_codes {
    std::string lines[kinds];
    std::map<int, std::int64_t> counted[kinds];
    // The compound ones crossed c-nets give, when the scratch keeps them.
    std::string crossed_compound;
};

struct solve_scratch {
    plane_darts darts;
    graph_currents currents;
    battery_rectangle rectangle;
    canonical_scratch canonical;
    check_workspace check;
    plane_graph dual;
    square_screen screen;
    // The uncrossed codes of one c-net, told apart before they are counted.
    std::string own_lines[kinds];
    std::vector<std::string_view> own_views;
    // Keep the compound rectangles of crossed batteries, of the kinds
    // wanted, in found.crossed_compound, as the compound enumeration of
    // imperfect rectangles needs: otherwise they are dropped.
    bool keep_crossed_compound = false;
};

// Solves the c-net in `scratch.darts` and appends the codes of the kinds
// `wanted` to `found`. False, with `problem` set, when its numbers leave the
// range squares2tex works in. When only squares are wanted, a c-net whose
// exact solution cannot fail and that the square filter clears is not
// solved exactly: it is known to give none. With `count_uncrossed` (the
// c-net is the only one of its class and of its dual's that the run
// solves), a rectangle without four squares at a point is counted in
// `found.counted`, not kept: no other c-net gives it.
bool solve_cnet(solve_scratch& scratch, const bool (&wanted)[kinds], bool count_uncrossed,
                found_codes& found, std::string& problem);
