// Exact potentials of a c-net whose edges have integer conductances, for
// the compound searches that put rectangles in place of squares.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "enumeration/plane_check.h"

// 128 bits where the compiler has them; on 32-bit targets 64, which the
// c-nets of compound rectangles of low orders stay within.
#ifdef __SIZEOF_INT128__
__extension__ typedef __int128 wide;
#else
using wide = std::int64_t;
#endif

inline bool fits_side(wide v)
{
    return v >= 0 && v <= std::numeric_limits<std::int32_t>::max();
}

// det(L') times each potential, L' the Laplacian without the battery's
// bottom vertex, with one unit of current in at the top (Cramer's rule);
// edge e (by its lower dart) has conductance g[e]. `det` gets det(L').
std::vector<wide> element_potentials(const plane_darts& d, int battery, const std::vector<wide>& g,
                                     wide& det);
