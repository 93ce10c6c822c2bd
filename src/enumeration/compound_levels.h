// The perfect rectangles of each order, simple and compound, made order
// after order: a compound one of order n from those of lower orders.
#pragma once

#include <string>
#include <vector>

#include "enumeration/compound_pieces.h"

// The codes of one order, sorted, each once, by part.
struct order_codes {
    std::vector<std::string> simple;
    std::vector<std::string> trivial;     // a square as wide or as high as the whole
    std::vector<std::string> nontrivial;  // the other compound ones
    // Rectangles found whose sides in lowest terms leave 32 bits, which no
    // code holds (the search by shapes goes on without them).
    std::size_t too_large = 0;
};

// Every perfect rectangle of the orders made so far, as pieces.
struct perfect_levels {
    std::vector<std::vector<piece>> of_order;  // index: order
};

// The perfect rectangles of `order`, squares included; `levels` must hold
// the orders below (1 to order - 1), and gets this one added when `keep`.
// `jobs` threads share the work; the codes are the same for any number.
order_codes make_order(int order, perfect_levels& levels, bool keep, int jobs);
