// A c-net with any number of its edges sub-rectangles (elements) in place
// of squares, for the compound imperfect rectangles, whose pieces may be as
// small as a domino: the exact layout for given element boxes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "enumeration/plane_check.h"

// The potentials (times det(L')) of a c-net with the battery's dart
// `battery`, as multi-affine functions of the elements' conductances: the
// coefficient of the product of the conductances of the elements in the
// bit set S is coef[S * vertices + v]. Each conductance enters det(L') and
// every cofactor at most once, so 2^k solutions at 0 and 1 give them all.
struct elements_network {
    int battery = 0;
    std::vector<int> edges;  // the elements, by their lower darts
    int vertices = 0;
    std::vector<std::int64_t> coef;
};

elements_network network_of_elements(const plane_darts& d, int battery,
                                     const std::vector<int>& edges);

// A box at (x, y) (y measured down from the top), of side `side` for a
// square, of `side` times the element's box for an element.
struct laid_box {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t side = 0;
};

// The rectangle with element i a box of boxes[i] (its width, its height,
// coprime): the c-net's squares and each element's place and scale, all at
// one scale. False when an edge carries no current (the network is then a
// rectangle of fewer pieces) or a number leaves 62 bits.
struct element_layout {
    std::vector<laid_box> squares;
    std::vector<laid_box> elements;  // in the order of the network's edges
    std::int64_t width = 0;
    std::int64_t height = 0;
};

bool lay_out_elements(const plane_darts& d, const elements_network& net,
                      const std::vector<std::pair<std::int64_t, std::int64_t>>& boxes,
                      element_layout& out);
