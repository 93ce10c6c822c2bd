#include "analysis/structure.h"

#include <algorithm>
#include <tuple>

namespace {

// A straight run of edges on one line: the stretch [from, to] of line `at`
// that edges of squares cover without a gap.
struct run {
    std::int64_t at, from, to;
};

bool operator<(const run& a, const run& b)
{
    return std::tie(a.at, a.from) < std::tie(b.at, b.from);
}

// The runs one way (the tops and bottoms of the squares, or their sides),
// each as long as the edges make it.
std::vector<run> runs_of(const std::vector<square_box>& squares, bool across)
{
    std::vector<run> edges;
    edges.reserve(2 * squares.size());
    for (const square_box& s : squares) {
        const std::int64_t line = across ? s.y : s.x;
        const std::int64_t from = across ? s.x : s.y;
        edges.push_back({line, from, from + s.side});
        edges.push_back({line + s.side, from, from + s.side});
    }
    std::sort(edges.begin(), edges.end());
    std::vector<run> joined;
    for (const run& e : edges) {
        if (!joined.empty() && joined.back().at == e.at && e.from <= joined.back().to) {
            joined.back().to = std::max(joined.back().to, e.to);
        } else {
            joined.push_back(e);
        }
    }
    return joined;
}

// The end of the run on line `at` that covers [from, to], or -1 for none.
std::int64_t run_end(const std::vector<run>& runs, std::int64_t at, std::int64_t from,
                     std::int64_t to)
{
    auto after = std::upper_bound(runs.begin(), runs.end(), run{at, from, 0});
    if (after == runs.begin()) return -1;
    const run& r = *(after - 1);
    return r.at == at && r.from <= from && to <= r.to ? r.to : -1;
}

bool inside(const sub_rectangle& a, const sub_rectangle& b)
{
    return b.x <= a.x && b.y <= a.y && a.x + a.width <= b.x + b.width &&
           a.y + a.height <= b.y + b.height;
}

// Of the rectangles from one corner, those inside no other, onto `found`.
void keep_corner_maximal(const std::vector<sub_rectangle>& from_corner,
                         std::vector<sub_rectangle>& found)
{
    for (const sub_rectangle& r : from_corner) {
        const bool covered =
            std::any_of(from_corner.begin(), from_corner.end(), [&](const sub_rectangle& o) {
                return (o.width != r.width || o.height != r.height) && inside(r, o);
            });
        if (!covered) found.push_back(r);
    }
}

// Of `found`, those inside no other, into `kept` in the order of the list.
void keep_maximal(std::vector<sub_rectangle>& found, std::vector<sub_rectangle>& kept)
{
    // Larger first: a rectangle can only lie inside one at least as large.
    std::sort(found.begin(), found.end(), [](const sub_rectangle& a, const sub_rectangle& b) {
        return std::int64_t{a.width} * a.height > std::int64_t{b.width} * b.height;
    });
    kept.clear();
    for (const sub_rectangle& r : found) {
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const sub_rectangle& o) { return inside(r, o); }))
            kept.push_back(r);
    }
    std::sort(kept.begin(), kept.end(), [](const sub_rectangle& a, const sub_rectangle& b) {
        return std::tie(a.y, a.x, a.width) < std::tie(b.y, b.x, b.width);
    });
}

}  // namespace

bool has_full_square(const std::vector<square_box>& squares, std::int64_t width,
                     std::int64_t height)
{
    return std::any_of(squares.begin(), squares.end(),
                       [&](const square_box& s) { return s.side == width || s.side == height; });
}

// A sub-rectangle has the top-left corner of a square s and the
// bottom-right corner of a square t, and edges cover its four sides; so
// from each s the squares t whose right edge the run along the top of s
// reaches are tried. Of the rectangles from one corner only those not
// inside another from that corner are kept, then those inside no other.
// At most `most_pairs` pairs of squares are tried (-1: any number).
namespace {

bool search(const std::vector<square_box>& squares, std::int64_t width, std::int64_t height,
            std::int64_t most_pairs, std::vector<sub_rectangle>& kept)
{
    std::int64_t tried = 0;
    const std::vector<run> across = runs_of(squares, true);
    const std::vector<run> down = runs_of(squares, false);
    std::vector<std::uint32_t> by_right(squares.size());
    for (std::uint32_t i = 0; i < by_right.size(); ++i) by_right[i] = i;
    const auto right = [&](std::uint32_t i) {
        return std::int64_t{squares[i].x} + squares[i].side;
    };
    const auto bottom = [&](std::uint32_t i) {
        return std::int64_t{squares[i].y} + squares[i].side;
    };
    std::sort(by_right.begin(), by_right.end(),
              [&](std::uint32_t a, std::uint32_t b) { return right(a) < right(b); });
    std::vector<sub_rectangle> found;
    std::vector<sub_rectangle> from_corner;
    for (std::uint32_t s = 0; s < squares.size(); ++s) {
        const std::int64_t x0 = squares[s].x;
        const std::int64_t y0 = squares[s].y;
        const std::int64_t reach = run_end(across, y0, x0, right(s));
        const std::int64_t depth = run_end(down, x0, y0, bottom(s));
        from_corner.clear();
        auto k = std::partition_point(by_right.begin(), by_right.end(),
                                      [&](std::uint32_t i) { return right(i) <= x0; });
        for (; k != by_right.end() && right(*k) <= reach; ++k) {
            if (most_pairs >= 0 && ++tried > most_pairs) return false;
            const std::uint32_t t = *k;
            const std::int64_t x1 = right(t);
            const std::int64_t y1 = bottom(t);
            if (t == s || y1 <= y0 || y1 > depth) continue;
            if (x0 == 0 && y0 == 0 && x1 == width && y1 == height) continue;
            if (run_end(across, y1, x0, x1) < 0 || run_end(down, x1, y0, y1) < 0) continue;
            from_corner.push_back({static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0),
                                   static_cast<std::int32_t>(x1 - x0),
                                   static_cast<std::int32_t>(y1 - y0)});
        }
        keep_corner_maximal(from_corner, found);
    }
    keep_maximal(found, kept);
    return true;
}

// The sub-rectangles as the lines through the edges number them, when one
// way has at most 64 (always so up to 63 squares): each horizontal line's
// covered stretches and each band's covered vertical lines are bitsets, and
// from each square's top-left corner the search goes down band by band
// keeping the vertical lines that stay covered, as the check's own search
// does, noting every rectangle closed instead of stopping at the first.
bool search_on_lines(const std::vector<square_box>& squares, std::vector<sub_rectangle>& kept)
{
    // Each way the edges' coordinates sorted once, with the slot each came
    // from: numbering them in order gives every square its lines.
    struct box {
        unsigned left, right, top, bottom;
    };
    std::vector<box> boxes(squares.size());
    std::vector<std::int32_t> xs, ys;
    std::vector<std::pair<std::int32_t, std::uint32_t>> ends;
    for (const bool across : {false, true}) {
        ends.clear();
        for (std::uint32_t i = 0; i < squares.size(); ++i) {
            const square_box& b = squares[i];
            const std::int32_t from = across ? b.y : b.x;
            ends.push_back({from, 2 * i});
            ends.push_back({from + b.side, 2 * i + 1});
        }
        std::sort(ends.begin(), ends.end());
        std::vector<std::int32_t>& at = across ? ys : xs;
        for (const auto& [value, slot] : ends) {
            if (at.empty() || at.back() != value) at.push_back(value);
            const auto number = static_cast<unsigned>(at.size() - 1);
            box& b = boxes[slot / 2];
            (across ? (slot % 2 ? b.bottom : b.top) : (slot % 2 ? b.right : b.left)) = number;
        }
    }
    const bool turned = xs.size() > ys.size();
    if (turned) {
        std::swap(xs, ys);
        for (box& b : boxes) b = {b.top, b.bottom, b.left, b.right};
    }
    if (xs.size() > 64) return false;
    const auto bits = [](unsigned from, unsigned to) {
        const std::uint64_t below = to >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
        return from >= 64 ? 0 : below & ~((std::uint64_t{1} << from) - 1);
    };
    const auto bit = [](unsigned at) { return std::uint64_t{1} << at; };
    const auto columns = static_cast<unsigned>(xs.size());
    const auto rows = static_cast<unsigned>(ys.size());
    std::vector<std::uint64_t> across(rows, 0), down(rows, 0);
    for (const box& b : boxes) {
        across[b.top] |= bits(b.left, b.right);
        across[b.bottom] |= bits(b.left, b.right);
        for (unsigned k = b.top; k < b.bottom; ++k) down[k] |= bit(b.left) | bit(b.right);
    }
    std::vector<sub_rectangle> found;
    std::vector<std::pair<unsigned, unsigned>> deepest;  // (depth line, widest line)
    for (const box& s : boxes) {
        const unsigned a = s.left;
        // Only the 63 stretches between 64 lines have bits: a run always ends.
        const auto reach = [a](std::uint64_t covered) {
            return a + 1 + static_cast<unsigned>(__builtin_ctzll(~(covered >> a)));
        };
        deepest.clear();
        std::uint64_t open = bits(a + 1, reach(across[s.top]));
        for (unsigned d = s.top + 1; d < rows; ++d) {
            const std::uint64_t band = down[d - 1];
            if ((band & bit(a)) == 0) break;
            open &= band;
            if (open == 0) break;
            std::uint64_t closed = open & bits(a + 1, reach(across[d]));
            if (d == s.bottom) closed &= ~bit(s.right);                              // s alone
            if (a == 0 && s.top == 0 && d == rows - 1) closed &= ~bit(columns - 1);  // all
            // Of those closed at one depth only the widest can be maximal.
            if (closed != 0)
                deepest.push_back({d, 63u - static_cast<unsigned>(__builtin_clzll(closed))});
        }
        // From the deepest up: one is inside another of this corner unless
        // it is wider than every deeper one.
        unsigned widest = 0;
        for (auto k = deepest.rbegin(); k != deepest.rend(); ++k) {
            if (k->second <= widest) continue;
            widest = k->second;
            sub_rectangle r{xs[a], ys[s.top], xs[k->second] - xs[a], ys[k->first] - ys[s.top]};
            if (turned) r = {r.y, r.x, r.height, r.width};
            found.push_back(r);
        }
    }
    keep_maximal(found, kept);
    return true;
}

}  // namespace

std::vector<sub_rectangle> maximal_subrectangles(const std::vector<square_box>& squares,
                                                 std::int64_t width, std::int64_t height)
{
    std::vector<sub_rectangle> list;
    if (!search_on_lines(squares, list)) search(squares, width, height, -1, list);
    return list;
}

std::vector<sub_rectangle> maximal_subrectangles_on_runs(const std::vector<square_box>& squares,
                                                         std::int64_t width, std::int64_t height)
{
    std::vector<sub_rectangle> list;
    search(squares, width, height, -1, list);
    return list;
}

bool list_maximal_subrectangles(const std::vector<square_box>& squares, std::int64_t width,
                                std::int64_t height, std::vector<sub_rectangle>& list)
{
    list.clear();
    // Too many squares to list is known before anything is allocated.
    if (squares.size() > most_listed_squares) return false;
    if (search_on_lines(squares, list)) return true;
    if (!search(squares, width, height, most_tried_pairs, list)) {
        list.clear();
        return false;
    }
    return true;
}

const char* structure_name(structure_kind kind)
{
    switch (kind) {
        case structure_kind::simple:
            return "simple";
        case structure_kind::trivially_compound:
            return "trivially compound";
        case structure_kind::compound:
            break;
    }
    return "compound";
}

structure_kind structure_of(const case_verdict& v)
{
    if (v.simple) return structure_kind::simple;
    return v.trivially_compound ? structure_kind::trivially_compound : structure_kind::compound;
}

std::string subrectangle_list(const std::vector<sub_rectangle>& list)
{
    std::string text;
    for (const sub_rectangle& r : list) {
        if (!text.empty()) text += ' ';
        text += std::to_string(r.width) + 'x' + std::to_string(r.height) + '@' +
                std::to_string(r.x) + ',' + std::to_string(r.y);
    }
    return text;
}
