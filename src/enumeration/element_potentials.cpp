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

// L', the Laplacian without the battery's bottom vertex, as n x n rows
// (vertex v at v, or v - 1 past the bottom) each `stride` wide; edge e (by
// its lower dart) has conductance g(e).
template <typename Conductance>
void add_laplacian(const plane_darts& d, int battery, const Conductance& g, int stride,
                   std::vector<wide>& m)
{
    const int bottom = d.head[battery];
    const auto index = [&](int v) { return v < bottom ? v : v - 1; };
    for (int e = 0; e < static_cast<int>(d.head.size()); ++e) {
        if (e > d.reverse[e] || e == battery || d.reverse[e] == battery) continue;
        const int u = d.tail[e];
        const int v = d.head[e];
        if (u != bottom) m[index(u) * stride + index(u)] += g(e);
        if (v != bottom) m[index(v) * stride + index(v)] += g(e);
        if (u != bottom && v != bottom) {
            m[index(u) * stride + index(v)] -= g(e);
            m[index(v) * stride + index(u)] -= g(e);
        }
    }
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
    add_laplacian(
        d, battery, [&](int e) { return g[e]; }, n, laplacian);
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

std::vector<wide> unit_adjugate(const plane_darts& d, int battery, wide& det)
{
    const int vertices = static_cast<int>(d.first.size()) - 1;
    const int bottom = d.head[battery];
    const int n = vertices - 1;
    // [L' | I], n rows of 2n.
    const int w = 2 * n;
    std::vector<wide> m(static_cast<std::size_t>(n) * w, 0);
    for (int i = 0; i < n; ++i) m[i * w + n + i] = 1;
    add_laplacian(
        d, battery, [](int) { return wide{1}; }, w, m);
    // L' of a connected network is positive definite: every leading minor,
    // so every pivot of the elimination, is positive.
    wide previous = 1;
    for (int k = 0; k < n; ++k) {
        for (int i = k + 1; i < n; ++i) {
            for (int j = k + 1; j < w; ++j)
                m[i * w + j] =
                    (m[i * w + j] * m[k * w + k] - m[i * w + k] * m[k * w + j]) / previous;
            m[i * w + k] = 0;
        }
        previous = m[k * w + k];
    }
    det = previous;
    // U y = det * b' for each column b' of the right half, y = adj(L') e_c:
    // each division is exact, y being whole.
    std::vector<wide> adjugate(static_cast<std::size_t>(vertices) * vertices, 0);
    std::vector<wide> y(static_cast<std::size_t>(n));
    for (int c = 0; c < n; ++c) {
        for (int i = n - 1; i >= 0; --i) {
            wide sum = det * m[i * w + n + c];
            for (int j = i + 1; j < n; ++j) sum -= m[i * w + j] * y[j];
            y[i] = sum / m[i * w + i];
        }
        const int cv = c < bottom ? c : c + 1;
        for (int i = 0; i < n; ++i) {
            const int iv = i < bottom ? i : i + 1;
            adjugate[iv * vertices + cv] = y[i];
        }
    }
    return adjugate;
}
