// The pieces the compound imperfect rectangles are built from: every
// squared rectangle of the orders below, simple and compound, perfect and
// imperfect, held by order and by shape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "enumeration/compound_pieces.h"

// The pieces of one shape (longer side, shorter side, coprime) of an order.
struct shape_group {
    std::int64_t longer = 0;
    std::int64_t shorter = 0;
    std::vector<std::uint32_t> pieces;  // indices into the order's pieces
};

// Every squared rectangle of the orders made so far (index: order).
struct any_levels {
    std::vector<std::vector<piece>> of_order;
    std::vector<std::vector<shape_group>> shapes_of_order;
    // Per piece, a bit for each way to turn it that places its squares
    // otherwise than the ways before: a symmetric piece has fewer than 8.
    std::vector<std::vector<std::uint8_t>> ways_of_order;
};

// Adds the pieces of the codes as the next order's.
void add_order(const std::vector<const std::vector<std::string>*>& codes, any_levels& levels);

// The codes c-nets of order + 1 edges give, each sorted and once: the
// simple perfect and imperfect rectangles, and the compound ones of
// crossed batteries, kinds mixed. The c-nets shared by `jobs` threads.
struct cnet_codes {
    std::vector<std::string> simple_perfect;
    std::vector<std::string> simple_imperfect;
    std::vector<std::string> crossed_compound;
};
cnet_codes codes_of_cnets(int order, int jobs);
