#include "enumeration/currents.h"

#include <limits>

namespace {

// 128 bits where the compiler has them (not on 32-bit targets: there the
// narrow pass is all, and graphs past it are refused).
#ifdef __SIZEOF_INT128__
__extension__ typedef __int128 wide;
#else
using wide = std::int64_t;
#endif

// Fraction-free Gauss-Jordan elimination of [L_g | I] (Bareiss): after step
// k every entry is a minor of order k + 1, so each division is exact, and
// at the end the left half is det(L_g) I and the right half adj(L_g). L_g
// is positive definite: no pivot is 0. Narrow numbers first, as most graphs
// fit them; false when one would overflow.
template <typename Number>
bool eliminate(const plane_darts& darts, int n, std::vector<Number>& m, Number& determinant)
{
    const int d = n - 1;
    const int width = 2 * d;
    m.assign(static_cast<std::size_t>(d) * width, 0);
    const auto cell = [&](int r, int c) -> Number& {
        return m[static_cast<std::size_t>(r) * width + c];
    };
    for (int v = 0; v < d; ++v) {
        cell(v, v) = darts.first[v + 1] - darts.first[v];
        cell(v, d + v) = 1;
        for (int e = darts.first[v]; e < darts.first[v + 1]; ++e) {
            if (darts.head[e] < d) cell(v, darts.head[e]) = -1;
        }
    }
    Number previous = 1;
    for (int k = 0; k < d; ++k) {
        const Number pivot = cell(k, k);
        for (int r = 0; r < d; ++r) {
            if (r == k) continue;
            const Number factor = cell(r, k);
            for (int c = k + 1; c < width; ++c) {
                Number a, b, difference;
                if (__builtin_mul_overflow(pivot, cell(r, c), &a) ||
                    __builtin_mul_overflow(factor, cell(k, c), &b) ||
                    __builtin_sub_overflow(a, b, &difference)) {
                    return false;
                }
                cell(r, c) = difference / previous;
            }
            cell(r, k) = 0;
        }
        previous = pivot;
    }
    determinant = previous;
    return true;
}

template <typename Number>
bool copy_out(const std::vector<Number>& m, int n, Number determinant, graph_currents& out)
{
    const int d = n - 1;
    // Room for the sums of four entries that potentials and heights take.
    constexpr Number high = Number(1) << 60;
    if (determinant > high) return false;
    out.trees = static_cast<std::int64_t>(determinant);
    out.adjugate.resize(static_cast<std::size_t>(d) * d);
    for (int r = 0; r < d; ++r) {
        for (int c = 0; c < d; ++c) {
            const Number value = m[static_cast<std::size_t>(r) * 2 * d + d + c];
            if (value > high || value < -high) return false;
            out.adjugate[static_cast<std::size_t>(r) * d + c] = static_cast<std::int64_t>(value);
        }
    }
    return true;
}

}  // namespace

bool solve_currents(const plane_darts& darts, graph_currents& out, std::string& problem)
{
    const int n = static_cast<int>(darts.first.size()) - 1;
    out.n = n;
    std::vector<std::int64_t>& narrow = out.matrix;
    std::int64_t determinant = 0;
    if (eliminate(darts, n, narrow, determinant)) {
        if (copy_out(narrow, n, determinant, out)) return true;
    } else {
        std::vector<wide> m;
        wide big = 0;
        if (eliminate(darts, n, m, big) && copy_out(m, n, big, out)) return true;
    }
    problem =
        "its currents leave the range of the exact solution (128 bits in the "
        "elimination, 60 in the result): far past the 32-bit sides a rectangle may have";
    return false;
}
