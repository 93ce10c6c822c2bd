// The two ways a compound perfect rectangle is made from smaller ones:
// two pieces joined along a whole side, or a c-net with one edge a
// sub-rectangle in place of a square.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "enumeration/compound_pieces.h"
#include "enumeration/plane_check.h"

// Receives each rectangle made: its squares in placement order (by the
// depth of the top, then from left to right), width and height.
using made_rectangle =
    std::function<void(const std::vector<square_box>&, std::int64_t, std::int64_t)>;

// Every way to put `a` above `b`, each turned every way, scaled to a
// common width; only those of all sides different when `perfect`.
void join_pieces(const piece& a, const piece& b, bool perfect, std::vector<square_box>& scratch,
                 const made_rectangle& made);

// A c-net's potentials as functions of one edge's conductance c (the
// others' 1), with the battery from `top` to `bottom`: at c = p / q,
// q * det * (potential of v) = q * base[v] + p * slope[v], the bottom 0.
struct element_network {
    int element = 0;  // the edge, as its lower dart
    int battery = 0;  // the battery's dart
    std::vector<std::int64_t> base;
    std::vector<std::int64_t> slope;
};

// One for each battery edge and each other edge as the element, of the
// c-net in `darts`.
std::vector<element_network> element_networks(const plane_darts& darts);

// The rectangles of the network with `element` filled by `inner` in each
// of its orientations, in lowest terms; only those of all sides different
// when `perfect`, and of one of the shapes of `wanted` when given. False
// when one (that is kept) leaves the 32-bit range of a side.
bool fill_element(const plane_darts& darts, const element_network& net, const piece& inner,
                  bool perfect, std::vector<square_box>& scratch, const made_rectangle& made,
                  const std::set<shape>* wanted = nullptr);
