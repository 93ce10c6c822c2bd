#include "enumeration/element_potentials.h"

#include <utility>

namespace {

// det(m) of an n x n matrix by fraction-free elimination (Bareiss); the
// numbers of a c-net of a few dozen edges stay far inside 128 bits.
wide determinant(std::vector<wide> m, int n)
{
    wide previous = 1;
    int sign = 1;
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        while (pivot < n && m[pivot * n + k] == 0) ++pivot;
        if (pivot == n) return 0;
        if (pivot != k) {
            for (int j = 0; j < n; ++j) std::swap(m[k * n + j], m[pivot * n + j]);
            sign = -sign;
        }
        for (int i = k + 1; i < n; ++i) {
            for (int j = k + 1; j < n; ++j)
                m[i * n + j] =
                    (m[i * n + j] * m[k * n + k] - m[i * n + k] * m[k * n + j]) / previous;
            m[i * n + k] = 0;
        }
        previous = m[k * n + k];
    }
    return sign * m[(n - 1) * n + n - 1];
}

}  // namespace

std::vector<wide> element_potentials(const plane_darts& d, int battery, const std::vector<wide>& g,
                                     wide& det)
{
    const int vertices = static_cast<int>(d.first.size()) - 1;
    const int top = d.tail[battery];
    const int bottom = d.head[battery];
    const auto index = [&](int v) { return v < bottom ? v : v - 1; };
    const int n = vertices - 1;
    std::vector<wide> laplacian(static_cast<std::size_t>(n) * n, 0);
    for (int e = 0; e < static_cast<int>(d.head.size()); ++e) {
        if (e > d.reverse[e] || e == battery || d.reverse[e] == battery) continue;
        const int u = d.tail[e];
        const int v = d.head[e];
        if (u != bottom) laplacian[index(u) * n + index(u)] += g[e];
        if (v != bottom) laplacian[index(v) * n + index(v)] += g[e];
        if (u != bottom && v != bottom) {
            laplacian[index(u) * n + index(v)] -= g[e];
            laplacian[index(v) * n + index(u)] -= g[e];
        }
    }
    det = determinant(laplacian, n);
    std::vector<wide> p(vertices, 0);
    for (int v = 0; v < vertices; ++v) {
        if (v == bottom) continue;
        std::vector<wide> m = laplacian;
        for (int i = 0; i < n; ++i) m[i * n + index(v)] = i == index(top) ? 1 : 0;
        p[v] = determinant(std::move(m), n);
    }
    return p;
}
