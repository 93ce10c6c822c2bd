// A c-net with one or two edges sub-rectangles in place of squares, for the
// search of compound rectangles of given shapes: the shape an element must
// have for the whole to have a shape, and the whole put together.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "enumeration/compound_build.h"

// One element: an edge (its lower dart) and the conductance it has, its
// box's width over its height.
struct element_box {
    int edge = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The box (width over height) edge `free` must have for the battery's
// rectangle to be `width` x `height`, the edges of `fixed` having theirs
// and every other edge a square; false when none has a positive size.
bool needed_box(const plane_darts& d, int battery, const std::vector<element_box>& fixed, int free,
                std::int64_t width, std::int64_t height, element_box& out);

// The rectangle of the c-net with `pieces[i]` turned `ways[i]` in the
// element `edges[i]`, in lowest terms, to `made` when its sides all differ.
// False when a side leaves the 32-bit range.
bool fill_elements(const plane_darts& d, int battery, const std::vector<int>& edges,
                   const std::vector<const piece*>& pieces, const std::vector<int>& ways,
                   std::vector<square_box>& scratch, const made_rectangle& made);

// The box (width over height, lowest terms, as `out` and as `w` x `h`) the
// element of `net` must be for the battery's rectangle to be `width` x
// `height`; false when none has a positive size.
bool needed_of_net(const plane_darts& d, const element_network& net, std::int64_t width,
                   std::int64_t height, shape& out, std::int64_t& w, std::int64_t& h);
