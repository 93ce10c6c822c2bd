#include "enumeration/flow_rectangle.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

flow_result rectangle_from_flow(const plane_darts& d, const graph_currents& currents, int battery,
                                battery_rectangle& out)
{
    const int n = currents.n;
    const int s = d.tail[battery];
    const int t = d.head[battery];
    std::vector<std::int64_t>& p = out.potential;
    p.resize(n);
    for (int v = 0; v < n; ++v) p[v] = currents.at(v, s) - currents.at(v, t);
    const std::int64_t height = p[s] - p[t];
    const std::int64_t width = currents.trees - height;
    out.full_height = height;
    out.full_width = width;
    out.square = height == width;
    const int darts = d.first[n];
    const int battery_back = d.reverse[battery];
    std::int64_t divisor = 0;
    for (int e = 0; e < darts; ++e) {
        if (e > d.reverse[e] || e == battery || e == battery_back) continue;
        const std::int64_t current = p[d.tail[e]] - p[d.head[e]];
        if (current == 0) return flow_result::dropped;
        if (divisor != 1) divisor = std::gcd(divisor, current < 0 ? -current : current);
    }
    // The dual potentials: across each edge the vertical segment on one
    // side lies its current to the right of the one on the other. The
    // battery's two faces are the rectangle's left and right sides.
    std::vector<std::int64_t>& x = out.face_x;
    constexpr std::int64_t unset = std::numeric_limits<std::int64_t>::min();
    x.assign(d.faces, unset);
    x[d.face[battery]] = 0;
    out.stack.assign(1, d.face[battery]);
    std::int64_t left = 0;
    while (!out.stack.empty()) {
        const int f = out.stack.back();
        out.stack.pop_back();
        for (int i = d.face_first[f]; i < d.face_first[f + 1]; ++i) {
            const int e = d.face_darts[i];
            if (e == battery || e == battery_back) continue;
            const int g = d.face[d.reverse[e]];
            if (x[g] != unset) continue;
            x[g] = x[f] + p[d.tail[e]] - p[d.head[e]];
            left = std::min(left, x[g]);
            out.stack.push_back(g);
        }
    }
    out.squares.clear();
    // Most rectangles are in lowest terms already, and a division costs
    // more than the rest of a square.
    const auto scaled = [divisor](std::int64_t v) { return divisor == 1 ? v : v / divisor; };
    // Compared modulo 2^64, which any fault would still show.
    std::uint64_t area = 0;
    for (int e = 0; e < darts; ++e) {
        if (e > d.reverse[e] || e == battery || e == battery_back) continue;
        const int u = d.tail[e];
        const int v = d.head[e];
        const int upper = p[u] > p[v] ? u : v;
        square_box b;
        b.side = scaled(p[u] > p[v] ? p[u] - p[v] : p[v] - p[u]);
        b.x = scaled(std::min(x[d.face[e]], x[d.face[d.reverse[e]]]) - left);
        b.y = scaled(p[s] - p[upper]);
        area += static_cast<std::uint64_t>(b.side) * static_cast<std::uint64_t>(b.side);
        out.squares.push_back(b);
    }
    out.width = width / divisor;
    out.height = height / divisor;
    if (out.width > std::numeric_limits<std::int32_t>::max() ||
        out.height > std::numeric_limits<std::int32_t>::max()) {
        return flow_result::too_large;
    }
    // The squares fill the rectangle: a failure here is a fault of the solution.
    if (area != static_cast<std::uint64_t>(out.width) * static_cast<std::uint64_t>(out.height)) {
        throw std::logic_error("the squares of a c-net's flow do not fill its rectangle");
    }
    // The order of placement: by the depth of the top, then from left to right.
    const auto key = [](const square_box& b) {
        return std::uint64_t{static_cast<std::uint32_t>(b.y)} << 32 |
               static_cast<std::uint32_t>(b.x);
    };
    std::sort(out.squares.begin(), out.squares.end(),
              [&](const square_box& a, const square_box& b) { return key(a) < key(b); });
    return flow_result::rectangle;
}

bool four_meet_at_a_point(battery_rectangle& r)
{
    // Where four squares meet, two horizontal segments (vertices) at one
    // height or two vertical ones (faces) at one place touch end to end: the
    // corners need looking at only when some potentials or places are equal.
    const auto all_differ = [&r](const std::vector<std::int64_t>& values) {
        std::vector<std::int64_t>& sorted = r.sorted;
        sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
    };
    if (all_differ(r.potential) && all_differ(r.face_x)) return false;
    return four_meet_at_a_point(r.squares);
}

bool four_meet_at_a_point(const std::vector<square_box>& squares)
{
    const auto corner = [](std::int64_t x, std::int64_t y) {
        return static_cast<std::uint64_t>(y) << 32 | static_cast<std::uint64_t>(x);
    };
    // In the order of placement the top-left corners are sorted.
    const auto below = [&](const square_box& s, std::uint64_t c) { return corner(s.x, s.y) < c; };
    for (const square_box& s : squares) {
        const std::uint64_t c = corner(std::int64_t{s.x} + s.side, std::int64_t{s.y} + s.side);
        const auto at = std::lower_bound(squares.begin(), squares.end(), c, below);
        if (at != squares.end() && corner(at->x, at->y) == c) return true;
    }
    return false;
}
