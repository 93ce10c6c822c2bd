// Exact potentials of a c-net whose edges have integer conductances, for
// the compound searches that put rectangles in place of squares.
#pragma once

#include <algorithm>
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

// The greatest common divisor, which std::gcd does not take in the wide type.
inline wide wide_gcd(wide a, wide b)
{
    if (a < 0) a = -a;
    if (b < 0) b = -b;
    while (b != 0) {
        const wide r = a % b;
        a = b;
        b = r;
    }
    return a;
}

inline bool fits_side(wide v)
{
    return v >= 0 && v <= std::numeric_limits<std::int32_t>::max();
}

// Each face's x, its left edge, by a walk over the faces from the
// battery's (at 0), a dart's current the step across it; returns the least
// x. `x` has a place for each face; `seen` and `stack` are scratch.
template <typename Current>
wide walk_faces(const plane_darts& d, int battery, const Current& current, std::vector<wide>& x,
                std::vector<char>& seen, std::vector<int>& stack)
{
    const int battery_back = d.reverse[battery];
    seen.assign(static_cast<std::size_t>(d.faces), 0);
    x[d.face[battery]] = 0;
    seen[d.face[battery]] = 1;
    stack.assign(1, d.face[battery]);
    wide left = 0;
    while (!stack.empty()) {
        const int f = stack.back();
        stack.pop_back();
        for (int i = d.face_first[f]; i < d.face_first[f + 1]; ++i) {
            const int e = d.face_darts[i];
            if (e == battery || e == battery_back) continue;
            const int to = d.face[d.reverse[e]];
            if (seen[to]) continue;
            seen[to] = 1;
            x[to] = x[f] + current(e);
            left = std::min(left, x[to]);
            stack.push_back(to);
        }
    }
    return left;
}

// det(L') times each potential, L' the Laplacian without the battery's
// bottom vertex, with one unit of current in at the top (Cramer's rule);
// edge e (by its lower dart) has conductance g[e]. `det` gets det(L').
std::vector<wide> element_potentials(const plane_darts& d, int battery, const std::vector<wide>& g,
                                     wide& det);

// The adjugate of L' at every conductance 1 (L' the Laplacian without the
// battery's bottom vertex), by vertex: `adjugate[u * vertices + v]`, 0 in
// the bottom's row and column; `det` gets det(L'). One fraction-free
// elimination gives every column, where Cramer's rule takes a
// determinant for each entry.
std::vector<wide> unit_adjugate(const plane_darts& d, int battery, wide& det);
