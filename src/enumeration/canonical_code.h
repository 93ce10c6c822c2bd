// The canonical code of a c-net: the least of the breadth-first walks of
// its embedding from each directed edge, clockwise and counter-clockwise.
// Two c-nets are isomorphic (mirror images included) exactly when their
// codes are equal, and the walks that give the least code are the
// automorphisms.
#pragma once

#include <cstdint>
#include <vector>

#include "enumeration/embedding.h"

namespace cnet {

struct canonical_form {
    int code_length = 0;
    std::uint8_t code[max_darts + max_vertices];
    // labels[i * max_vertices + v]: the number the i-th least walk gives v.
    int walks = 0;  // the number of automorphisms
    std::vector<std::uint8_t> labels;
};

// Walks start only from darts of the greatest (tail degree, head degree),
// which automorphisms keep: fewer walks, the same least code.
void find_canonical_form(const embedding& g, canonical_form& out);

// The canonical code of a c-net given as a rotation system.
std::vector<std::uint8_t> canonical_code(const plane_graph& p);

}  // namespace cnet
