#include "enumeration/compound_elements.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

#include "enumeration/element_potentials.h"

namespace {

// a * b - c * d, false when it leaves the numbers at hand (only where
// there are no 128 bits).
bool cross(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d, wide& out)
{
#ifdef __SIZEOF_INT128__
    out = static_cast<wide>(a) * b - static_cast<wide>(c) * d;
    return true;
#else
    std::int64_t ab = 0;
    std::int64_t cd = 0;
    return !__builtin_mul_overflow(a, b, &ab) && !__builtin_mul_overflow(c, d, &cd) &&
           !__builtin_sub_overflow(ab, cd, &out);
#endif
}

}  // namespace

bool needed_box(const plane_darts& d, int battery, const std::vector<element_box>& fixed, int free,
                std::int64_t width, std::int64_t height, element_box& out)
{
    // Conductances scaled by the product of the fixed boxes' heights: a
    // square's is that product, an element's its width in place of its height.
    wide scale = 1;
    for (const element_box& b : fixed) scale *= b.height;
    std::vector<wide> g(d.head.size(), scale);
    for (const element_box& b : fixed)
        g[static_cast<std::size_t>(b.edge)] = scale / b.height * b.width;
    // Potentials and det(L') are linear in the free edge's conductance c;
    // the height over the width is scale * P(top) / det.
    g[static_cast<std::size_t>(free)] = 0;
    wide det0 = 0;
    const wide a0 = scale * element_potentials(d, battery, g, det0)[d.tail[battery]];
    g[static_cast<std::size_t>(free)] = scale;
    wide det1 = 0;
    const wide a1 = scale * element_potentials(d, battery, g, det1)[d.tail[battery]] - a0;
    det1 -= det0;
    // height * det(c) = width * scale * P(top, c): solve for c.
    wide p = wide{height} * det0 - wide{width} * a0;
    wide q = wide{width} * a1 - wide{height} * det1;
    if (q < 0) {
        p = -p;
        q = -q;
    }
    if (p <= 0 || q == 0) return false;
    const wide k = wide_gcd(p, q);
    p /= k;
    q /= k;
    if (p > std::numeric_limits<std::int64_t>::max() ||
        q > std::numeric_limits<std::int64_t>::max())
        return false;
    out = {free, static_cast<std::int64_t>(p), static_cast<std::int64_t>(q)};
    return true;
}

bool fill_elements(const plane_darts& d, int battery, const std::vector<int>& edges,
                   const std::vector<const piece*>& pieces, const std::vector<int>& ways,
                   std::vector<square_box>& scratch, const made_rectangle& made)
{
    const int darts = static_cast<int>(d.head.size());
    const int battery_back = d.reverse[battery];
    const int top = d.tail[battery];
    // The boxes' sides: element i is w[i] x h[i].
    std::vector<wide> w(edges.size());
    std::vector<wide> h(edges.size());
    wide scale = 1;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        w[i] = ways[i] & 4 ? pieces[i]->height : pieces[i]->width;
        h[i] = ways[i] & 4 ? pieces[i]->width : pieces[i]->height;
        scale *= h[i];
    }
    std::vector<wide> g(static_cast<std::size_t>(darts), scale);
    const auto element_of = [&](int e) {
        const int edge = std::min(e, d.reverse[e]);
        for (std::size_t i = 0; i < edges.size(); ++i)
            if (edges[i] == edge) return static_cast<int>(i);
        return -1;
    };
    for (std::size_t i = 0; i < edges.size(); ++i)
        g[static_cast<std::size_t>(edges[i])] = scale / h[i] * w[i];
    wide det = 0;
    const std::vector<wide> pot = element_potentials(d, battery, g, det);
    // Heights are scale times the drops, widths the currents g * drop.
    const auto drop = [&](int e) { return pot[d.tail[e]] - pot[d.head[e]]; };
    const auto current = [&](int e) {
        return g[static_cast<std::size_t>(std::min(e, d.reverse[e]))] * drop(e);
    };
    for (int e = 0; e < darts; ++e) {
        if (e != battery && e != battery_back && drop(e) == 0) return true;
    }
    std::vector<wide> x(static_cast<std::size_t>(d.faces), 0);
    std::vector<char> seen;
    std::vector<int> stack;
    const wide left = walk_faces(d, battery, current, x, seen, stack);
    wide full_width = 0;
    for (int f = 0; f < d.faces; ++f) full_width = std::max(full_width, x[f] - left);
    wide full_height = scale * (pot[top] - pot[d.head[battery]]);
    // Each box at (x, y), a square's side or an element's scale: the
    // numbers far past 32 bits until their common factor is taken out.
    struct box {
        wide x, y, size;
        int element;
    };
    std::vector<box> boxes;
    wide k = wide_gcd(full_width, full_height);
    for (int e = 0; e < darts; ++e) {
        if (e > d.reverse[e] || e == battery || e == battery_back) continue;
        const wide fall = drop(e);
        const int upper = fall > 0 ? d.tail[e] : d.head[e];
        const int i = element_of(e);
        const wide size = (fall > 0 ? fall : -fall) * (i < 0 ? scale : scale / h[i]);
        boxes.push_back({std::min(x[d.face[e]], x[d.face[d.reverse[e]]]) - left,
                         scale * (pot[top] - pot[upper]), size, i});
        k = wide_gcd(k, wide_gcd(boxes.back().x, wide_gcd(boxes.back().y, size)));
    }
    full_width /= k;
    full_height /= k;
    if (!fits_side(full_width) || !fits_side(full_height)) return false;
    scratch.clear();
    for (box& b : boxes) {
        b.x /= k;
        b.y /= k;
        b.size /= k;
        if (b.element < 0) {
            scratch.push_back({static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y),
                               static_cast<std::int32_t>(b.size)});
        } else {
            place_piece(*pieces[static_cast<std::size_t>(b.element)],
                        ways[static_cast<std::size_t>(b.element)],
                        static_cast<std::int64_t>(b.size), static_cast<std::int64_t>(b.x),
                        static_cast<std::int64_t>(b.y), scratch);
        }
    }
    std::uint64_t area = 0;
    std::vector<std::int32_t> sides;
    for (const square_box& s : scratch) {
        area += static_cast<std::uint64_t>(s.side) * static_cast<std::uint64_t>(s.side);
        sides.push_back(s.side);
    }
    const std::int64_t fw = static_cast<std::int64_t>(full_width);
    const std::int64_t fh = static_cast<std::int64_t>(full_height);
    if (area != static_cast<std::uint64_t>(fw) * static_cast<std::uint64_t>(fh))
        throw std::logic_error("the squares of a filled c-net do not fill its rectangle");
    std::sort(sides.begin(), sides.end());
    if (std::adjacent_find(sides.begin(), sides.end()) != sides.end()) return true;
    std::sort(scratch.begin(), scratch.end(), [](const square_box& a, const square_box& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    made(scratch, fw, fh);
    return true;
}

// The box (width over height, lowest terms) the element of `net` must be
// for the whole to be `width` x `height`: height * det(c) = width * P(top, c),
// both linear in the element's conductance c.
bool needed_of_net(const plane_darts& d, const element_network& net, std::int64_t width,
                   std::int64_t height, shape& out, std::int64_t& w, std::int64_t& h)
{
    const int top = d.tail[net.battery];
    const std::int64_t a0 = net.base[top];
    const std::int64_t a1 = net.slope[top];
    std::int64_t det0 = 0;
    std::int64_t det1 = 0;
    for (int e = d.first[top]; e < d.first[top + 1]; ++e) {
        if (e == net.battery) continue;
        const int v = d.head[e];
        det1 += (a0 + a1) - (net.base[v] + net.slope[v]);
        if (std::min(e, d.reverse[e]) != net.element) det0 += a0 - net.base[v];
    }
    det1 -= det0;
    wide p = 0;
    wide q = 0;
    if (!cross(height, det0, width, a0, p) || !cross(width, a1, height, det1, q)) return false;
    if (q < 0) {
        p = -p;
        q = -q;
    }
    if (p <= 0 || q == 0 || p > static_cast<wide>(INT64_MAX) || q > static_cast<wide>(INT64_MAX))
        return false;
    w = static_cast<std::int64_t>(p);
    h = static_cast<std::int64_t>(q);
    out = shape_of(w, h);
    return true;
}
