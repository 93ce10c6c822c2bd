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

// Walks start only from the darts and turns of the greatest (tail degree,
// head degree, face on the side the walk turns to, face on the other), which
// automorphisms keep: fewer walks, the same least code.
void find_canonical_form(const embedding& g, const face_table& f, canonical_form& out);

// Whether the least walk that starts along `edge` (either way, either turn)
// is no greater than every least walk along the edges `others`: of edges
// that isomorphism invariants cannot tell apart, the canonical ones are
// those whose walks give the least code, and they form one orbit of the
// automorphisms.
bool least_along(const embedding& g, const face_table& f, int edge, const int* others, int count);

// The canonical code of a c-net given as a rotation system.
std::vector<std::uint8_t> canonical_code(const plane_graph& p);

}  // namespace cnet
