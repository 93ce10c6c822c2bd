#include "enumeration/square_filter.h"

#include <cmath>
#include <cstdint>

// The bound. A is the Laplacian grounded at the last vertex (d = n - 1
// rows), u = 2^-53 the unit roundoff, g = (d + 3) u / (1 - (d + 3) u),
// T = trace A (the degrees), and S the sum of the vertices' distances from
// the ground in edges. S >= trace A^-1 >= ||A^-1||, since (A^-1)_vv is the
// effective resistance from v to the ground, at most the length of a path.
// The steps below follow Higham, Accuracy and Stability of Numerical
// Algorithms (2nd ed.), theorems 8.5 and 10.3; they allow d + 3 roundings
// where those count d + 1, for the reciprocals used in place of divisions.
//  1. The computed Cholesky factor has C C^T = A + D, |D| <= g |C| |C^T|,
//     so ||D|| <= g ||C||_F^2 <= g T / (1 - g) =: e.
//  2. With e S <= 1/2, A + D >= (1 - e S) A: trace (A + D)^-1 and the
//     resistances of A + D are at most S' = S / (1 - e S) and 1 / (1 - e S).
//  3. The inverse W of C, a column at a time, has C W = I + Z with
//     |Z| <= g |C| |W|, so ||Z|| <= z / (1 - z) =: h, z = g sqrt(T S' / (1 - g)),
//     when z <= 1/2.
//  4. For x = e_s - e_t, W x = C^-1 x + C^-1 Z x, the second part at most
//     b = h sqrt(2 S'); the first has the square of the resistance R' of
//     A + D, at most 2 as R <= 1. So |‖W x‖^2 - R'| <= 2 sqrt(2) b + b^2.
//  5. |R' - R| <= ||A^-1 x|| e ||(A + D)^-1 x|| <= sqrt(2) e S'.
//  6. The sum of d squares of differences: g (sqrt(2) + b)^2 more.
// The bound is the sum of 4 to 6, raised by a part in a thousand for the
// few roundings of its own evaluation. On c-nets of up to 30 edges it is
// near 10^-11, where the gap 1 / (2 tau) of a near miss is above 10^-9.

namespace {

constexpr int most_rows = 31;  // a c-net of the generator's has at most 32 vertices

}  // namespace

bool exact_solution_fits(const plane_darts& darts)
{
    const int n = static_cast<int>(darts.first.size()) - 1;
    // Doubles: exact while the product stays below 2^53, and near enough after.
    double product = 1;
    for (int v = 0; v + 1 < n; ++v) product *= darts.first[v + 1] - darts.first[v];
    return product <= 0x1p60 * (1 - 0x1p-40);
}

bool tree_count_is_odd(const plane_darts& darts)
{
    const int n = static_cast<int>(darts.first.size()) - 1;
    const int d = n - 1;
    if (d < 1 || d > most_rows) return false;
    // Rows reduced against those kept, by their lowest bit: the
    // determinant is 1 when none reduces to nothing. Over GF(2) the -1s are 1s.
    std::uint32_t kept[most_rows] = {};
    for (int v = 0; v < d; ++v) {
        std::uint32_t row = ((darts.first[v + 1] - darts.first[v]) & 1u) << v;
        for (int e = darts.first[v]; e < darts.first[v + 1]; ++e) {
            row |= (std::uint32_t{1} << darts.head[e]) & ((std::uint32_t{1} << d) - 1);
        }
        for (;;) {
            if (row == 0) return false;
            const int low = __builtin_ctz(row);
            if (kept[low] == 0) {
                kept[low] = row;
                break;
            }
            row ^= kept[low];
        }
    }
    return true;
}

void screen_squares(const plane_darts& darts, square_screen& out)
{
    const int n = static_cast<int>(darts.first.size()) - 1;
    const int d = n - 1;
    const int all_darts = static_cast<int>(darts.head.size());
    out.sure = false;
    out.bound = 0;
    out.candidates.clear();
    out.resistance.assign(all_darts, 0.0);
    if (d < 1 || d > most_rows) return;
    out.factor.resize(most_rows * most_rows);
    out.inverse.resize(most_rows * most_rows);

    // S: distances from the ground, breadth first.
    std::vector<int>& distance = out.distance;
    distance.assign(n, -1);
    int queue[most_rows + 1];
    int taken = 0;
    int put = 0;
    queue[put++] = n - 1;
    distance[n - 1] = 0;
    double sum_of_distances = 0;
    double trace = 0;
    while (taken < put) {
        const int v = queue[taken++];
        sum_of_distances += distance[v];
        for (int e = darts.first[v]; e < darts.first[v + 1]; ++e) {
            const int w = darts.head[e];
            if (distance[w] >= 0) continue;
            distance[w] = distance[v] + 1;
            queue[put++] = w;
        }
    }
    if (put != n) return;

    // C, then W = C^-1, in the lower triangles of rows of most_rows:
    // outer-product updates, whose inner loops run along rows. The zeros
    // of the sparse Laplacian are skipped: subtracting 0 rounds nothing.
    double* c = out.factor.data();
    double* w = out.inverse.data();
    for (int v = 0; v < d; ++v) {
        double* cv = c + v * most_rows;
        double* wv = w + v * most_rows;
        for (int k = 0; k <= v; ++k) cv[k] = wv[k] = 0;
        cv[v] = darts.first[v + 1] - darts.first[v];
        wv[v] = 1;
        trace += cv[v];
        for (int e = darts.first[v]; e < darts.first[v + 1]; ++e) {
            if (darts.head[e] < v) cv[darts.head[e]] = -1;
        }
    }
    double reciprocal[most_rows];
    double column[most_rows];
    for (int k = 0; k < d; ++k) {
        const double pivot = c[k * most_rows + k];
        if (!(pivot > 0)) return;
        c[k * most_rows + k] = std::sqrt(pivot);
        reciprocal[k] = 1 / c[k * most_rows + k];
        for (int i = k + 1; i < d; ++i) column[i] = c[i * most_rows + k] *= reciprocal[k];
        for (int i = k + 1; i < d; ++i) {
            const double l = column[i];
            if (l == 0) continue;
            double* ci = c + i * most_rows;
            for (int j = k + 1; j <= i; ++j) ci[j] -= l * column[j];
        }
    }
    for (int k = 0; k < d; ++k) {
        double* wk = w + k * most_rows;
        for (int j = 0; j <= k; ++j) wk[j] *= reciprocal[k];
        for (int i = k + 1; i < d; ++i) {
            const double l = c[i * most_rows + k];
            if (l == 0) continue;
            double* wi = w + i * most_rows;
            for (int j = 0; j <= k; ++j) wi[j] -= l * wk[j];
        }
    }

    const double u = 0x1p-53;
    const double g = (d + 3) * u / (1 - (d + 3) * u);
    const double e = g * trace / (1 - g);
    if (e * sum_of_distances > 0.5) return;
    const double spread = sum_of_distances / (1 - e * sum_of_distances);
    const double z = g * std::sqrt(trace * spread / (1 - g));
    if (z > 0.5) return;
    const double h = z / (1 - z);
    const double b = h * std::sqrt(2 * spread);
    const double root2 = std::sqrt(2.0);
    out.bound =
        1.001 * (g * (root2 + b) * (root2 + b) + 2 * root2 * b + b * b + root2 * e * spread);
    if (!(out.bound < 0.125)) return;
    out.sure = true;

    for (int x = 0; x < all_darts; ++x) {
        if (x > darts.reverse[x]) continue;
        const int s = darts.tail[x];
        const int t = darts.head[x];
        double r = 0;
        if (t == d || s == d) {
            const int v = s == d ? t : s;
            for (int k = v; k < d; ++k) r += w[k * most_rows + v] * w[k * most_rows + v];
        } else {
            // W is lower triangular: rows above both ends are 0 in both.
            for (int k = s < t ? s : t; k < d; ++k) {
                const double difference = w[k * most_rows + s] - w[k * most_rows + t];
                r += difference * difference;
            }
        }
        out.resistance[x] = r;
        if (std::fabs(r - 0.5) <= out.bound) out.candidates.push_back(x);
    }
}
