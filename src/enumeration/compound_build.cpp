#include "enumeration/compound_build.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

#include "enumeration/element_potentials.h"

namespace {

// Sorts the squares into placement order and hands them on, when all
// sides differ if that is asked for.
void hand_on(std::vector<square_box>& squares, std::int64_t width, std::int64_t height,
             bool perfect, const made_rectangle& made)
{
    if (perfect) {
        std::vector<std::int32_t> sides;
        sides.reserve(squares.size());
        for (const square_box& s : squares) sides.push_back(s.side);
        std::sort(sides.begin(), sides.end());
        if (std::adjacent_find(sides.begin(), sides.end()) != sides.end()) return;
    }
    std::sort(squares.begin(), squares.end(), [](const square_box& a, const square_box& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    made(squares, width, height);
}

}  // namespace

void join_pieces(const piece& a, const piece& b, bool perfect, std::vector<square_box>& scratch,
                 const made_rectangle& made)
{
    // A square looks the same every way.
    const int a_ways = a.squares.size() == 1 ? 1 : orientations;
    const int b_ways = b.squares.size() == 1 ? 1 : orientations;
    for (int way_a = 0; way_a < a_ways; ++way_a) {
        const std::int64_t wa = way_a & 4 ? a.height : a.width;
        const std::int64_t ha = way_a & 4 ? a.width : a.height;
        for (int way_b = 0; way_b < b_ways; ++way_b) {
            const std::int64_t wb = way_b & 4 ? b.height : b.width;
            const std::int64_t hb = way_b & 4 ? b.width : b.height;
            const std::int64_t g = std::gcd(wa, wb);
            const wide width = wide{wa} * (wb / g);
            const wide height = wide{ha} * (wb / g) + wide{hb} * (wa / g);
            if (!fits_side(width) || !fits_side(height)) continue;
            scratch.clear();
            place_piece(a, way_a, wb / g, 0, 0, scratch);
            place_piece(b, way_b, wa / g, 0, ha * (wb / g), scratch);
            hand_on(scratch, static_cast<std::int64_t>(width), static_cast<std::int64_t>(height),
                    perfect, made);
        }
    }
}

std::vector<element_network> element_networks(const plane_darts& d)
{
    std::vector<element_network> nets;
    const int darts = static_cast<int>(d.head.size());
    const int vertices = static_cast<int>(d.first.size()) - 1;
    for (int battery = 0; battery < darts; ++battery) {
        // The battery the other way round turns the rectangle upside down.
        if (battery > d.reverse[battery]) continue;
        // With every conductance 1, adj(L') and det(L') = D; the element
        // u-v at c is L' + (c - 1) b b^T, b = e_u - e_v, whose adjugate is
        // affine in c: adj e_top = p + (c - 1) (r p - m (b.p)) / D, with
        // p = adj e_top, m = adj b, r = b^T adj b (the division is exact).
        wide det = 0;
        const std::vector<wide> adj = unit_adjugate(d, battery, det);
        const int top = d.tail[battery];
        const auto at = [&](int u, int v) { return adj[u * vertices + v]; };
        for (int element = 0; element < darts; ++element) {
            if (element > d.reverse[element] || element == battery) continue;
            const int u = d.tail[element];
            const int v = d.head[element];
            const wide r = at(u, u) + at(v, v) - 2 * at(u, v);
            const wide bp = at(u, top) - at(v, top);
            element_network net{element, battery, {}, {}};
            for (int x = 0; x < vertices; ++x) {
                const wide slope = (r * at(x, top) - (at(x, u) - at(x, v)) * bp) / det;
                const wide base = at(x, top) - slope;
                if (base > std::numeric_limits<std::int64_t>::max() ||
                    base < std::numeric_limits<std::int64_t>::min() ||
                    slope > std::numeric_limits<std::int64_t>::max() ||
                    slope < std::numeric_limits<std::int64_t>::min())
                    throw std::logic_error("a c-net's potentials leave 64 bits");
                net.base.push_back(static_cast<std::int64_t>(base));
                net.slope.push_back(static_cast<std::int64_t>(slope));
            }
            nets.push_back(std::move(net));
        }
    }
    return nets;
}

bool fill_element(const plane_darts& d, const element_network& net, const piece& inner,
                  bool perfect, std::vector<square_box>& scratch, const made_rectangle& made,
                  const std::set<shape>* wanted)
{
    bool all_fit = true;
    const int vertices = static_cast<int>(net.base.size());
    const int darts = static_cast<int>(d.head.size());
    const int battery = net.battery;
    const int battery_back = d.reverse[battery];
    const int top = d.tail[battery];
    std::vector<wide> q_potential(vertices);
    std::vector<wide> x(d.faces);
    std::vector<char> seen(d.faces);
    std::vector<int> stack;
    // A square element fits its box all 8 ways, an oblong one 4 ways in
    // each of its two shapes.
    for (int way = 0; way < orientations; ++way) {
        // p x q, the element's box: its current is p / q times its drop.
        const wide p = way & 4 ? inner.height : inner.width;
        const wide q = way & 4 ? inner.width : inner.height;
        for (int v = 0; v < vertices; ++v) q_potential[v] = q * net.base[v] + p * net.slope[v];
        const auto drop = [&](int e) { return q_potential[d.tail[e]] - q_potential[d.head[e]]; };
        // Scaled by q: a square's side is q times its drop, the element's
        // current p times its drop.
        const auto current = [&](int e) {
            const int edge = std::min(e, d.reverse[e]);
            return (edge == net.element ? p : q) * drop(e);
        };
        bool dropped = false;
        for (int e = 0; e < darts && !dropped; ++e) {
            if (e != battery && e != battery_back && drop(e) == 0) dropped = true;
        }
        if (dropped) continue;
        const wide left = walk_faces(d, battery, current, x, seen, stack);
        struct box {
            wide x, y, side;
            bool element;
        };
        std::vector<box> boxes;
        for (int e = 0; e < darts; ++e) {
            if (e > d.reverse[e] || e == battery || e == battery_back) continue;
            const wide fall = drop(e);
            const int upper = fall > 0 ? d.tail[e] : d.head[e];
            const wide bx = std::min(x[d.face[e]], x[d.face[d.reverse[e]]]) - left;
            const wide by = q * (q_potential[top] - q_potential[upper]);
            const wide size = fall > 0 ? fall : -fall;
            boxes.push_back({bx, by, e == net.element ? size : q * size, e == net.element});
        }
        const wide full_height = q * (q_potential[top] - q_potential[d.head[battery]]);
        // The total current, x of the battery's far face.
        wide full_width = 0;
        for (int f = 0; f < d.faces; ++f) full_width = std::max(full_width, x[f] - left);
        // In lowest terms before the sides are judged: the scaled numbers can
        // be far larger than the rectangle's own. The element's squares are
        // its box's scale times a piece in lowest terms, so the scale counts.
        wide g = wide_gcd(full_width, full_height);
        // Of the 8 ways only those of a wanted shape go on: the others can be
        // far too large, and are of no use.
        if (wanted) {
            const wide s = full_width / g;
            const wide t = full_height / g;
            const wide most = std::numeric_limits<std::int64_t>::max();
            if (s > most || t > most ||
                wanted->count(
                    shape_of(static_cast<std::int64_t>(s), static_cast<std::int64_t>(t))) == 0)
                continue;
        }
        for (const box& b : boxes) g = wide_gcd(g, wide_gcd(b.x, wide_gcd(b.y, b.side)));
        bool too_large = !fits_side(full_width / g) || !fits_side(full_height / g);
        for (box& b : boxes) {
            b.x /= g;
            b.y /= g;
            b.side /= g;
            const wide extent = b.element ? b.side * std::max(p, q) : b.side;
            if (!fits_side(b.x) || !fits_side(b.y) || !fits_side(extent)) too_large = true;
        }
        if (too_large) {
            all_fit = false;
            continue;
        }
        scratch.clear();
        for (const box& b : boxes) {
            if (b.element) {
                place_piece(inner, way, static_cast<std::int64_t>(b.side),
                            static_cast<std::int64_t>(b.x), static_cast<std::int64_t>(b.y),
                            scratch);
            } else {
                scratch.push_back({static_cast<std::int32_t>(b.x), static_cast<std::int32_t>(b.y),
                                   static_cast<std::int32_t>(b.side)});
            }
        }
        const std::int64_t w = static_cast<std::int64_t>(full_width / g);
        const std::int64_t h = static_cast<std::int64_t>(full_height / g);
        // The squares fill the rectangle: a failure here is a fault of the solution.
        std::uint64_t area = 0;
        for (const square_box& s : scratch)
            area += static_cast<std::uint64_t>(s.side) * static_cast<std::uint64_t>(s.side);
        if (area != static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h))
            throw std::logic_error("the squares of a filled c-net do not fill its rectangle");
        hand_on(scratch, w, h, perfect, made);
    }
    return all_fit;
}
