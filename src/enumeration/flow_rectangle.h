// The squared rectangle of a c-net with one edge as its battery (Brooks,
// Smith, Stone and Tutte): each vertex a horizontal segment at its
// potential, each other edge a square from the higher segment to the
// lower, as wide as its current; the faces are the vertical segments.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/case_check.h"
#include "enumeration/currents.h"
#include "enumeration/plane_check.h"

struct battery_rectangle {
    std::int64_t width = 0;  // in lowest terms
    std::int64_t height = 0;
    std::int64_t full_width = 0;   // tau(G - e), before dividing by the gcd
    std::int64_t full_height = 0;  // tau(G / e)
    bool square = false;           // 2 tau(G / e) = tau(G)
    std::vector<square_box> squares;
    // Scratch kept from battery to battery.
    std::vector<std::int64_t> potential;
    std::vector<std::int64_t> face_x;
    std::vector<int> stack;
    std::vector<std::int64_t> sorted;
};

enum class flow_result {
    rectangle,
    dropped,   // an edge carries no current: the rectangle has fewer squares
    too_large  // a side in lowest terms leaves 32 bits
};

// The rectangle with the edge of dart `battery` as the battery. The
// rotations order the squares along each segment; read the other way round
// they give its mirror image, which has the same canonical code.
flow_result rectangle_from_flow(const plane_darts& darts, const graph_currents& currents,
                                int battery, battery_rectangle& out);

// Whether four of the squares, in the order of placement, meet at a point:
// the bottom-right corner of one is the top-left corner of another.
//
// Only such a rectangle of a c-net can be compound (Brooks, Smith, Stone
// and Tutte). Were the squares inside a smaller rectangle Q, none meeting
// four at a point, no horizontal segment would cross a side of Q, so the
// segments inside Q would meet the rest of the net only through the two
// along Q's top and bottom. Those two would separate the net, or its
// squares between them would be parallel edges, where a c-net is
// 3-connected and simple.
bool four_meet_at_a_point(const std::vector<square_box>& squares);
// The same of the rectangle just found, looking at the corners only when
// two vertices have one potential or two faces one place (its scratch
// serves).
bool four_meet_at_a_point(battery_rectangle& r);
