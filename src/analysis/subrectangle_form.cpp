#include "analysis/subrectangle_form.h"

#include <algorithm>
#include <tuple>

#include "analysis/structure.h"

namespace {

using squares = std::vector<square_box>;

void sort_placed(squares& s)
{
    std::sort(s.begin(), s.end(), [](const square_box& a, const square_box& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
}

// Whether `a`, in placement order, reads greater than `b` in the same box.
bool reads_greater(const squares& a, const squares& b)
{
    return std::lexicographical_compare(
        b.begin(), b.end(), a.begin(), a.end(),
        [](const square_box& p, const square_box& q) { return p.side < q.side; });
}

// Turned as compound_pieces' ways: bit 0 mirrors left to right, bit 1 top
// to bottom, bit 2 then swaps x and y.
square_box turned(const square_box& s, int way, std::int64_t width, std::int64_t height)
{
    std::int64_t x = (way & 1) ? width - s.x - s.side : s.x;
    std::int64_t y = (way & 2) ? height - s.y - s.side : s.y;
    if (way & 4) std::swap(x, y);
    return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), s.side};
}

squares transposed(const squares& s)
{
    squares t;
    t.reserve(s.size());
    for (const square_box& b : s) t.push_back({b.y, b.x, b.side});
    return t;
}

// The lines 0 < at < extent that edges cover across the whole box: the
// full cuts one way.
std::vector<std::int64_t> full_cuts(const squares& s, std::int64_t width, std::int64_t height)
{
    std::vector<std::pair<std::int64_t, std::int64_t>> edges;  // (y, covered length)
    for (const square_box& b : s) {
        if (b.y > 0) edges.push_back({b.y, b.side});
    }
    std::sort(edges.begin(), edges.end());
    std::vector<std::int64_t> cuts;
    // Tops on one line never overlap, so they cover it when they add up to the width.
    for (std::size_t i = 0; i < edges.size();) {
        std::int64_t covered = 0;
        std::size_t j = i;
        for (; j < edges.size() && edges[j].first == edges[i].first; ++j)
            covered += edges[j].second;
        if (covered == width && edges[i].first < height) cuts.push_back(edges[i].first);
        i = j;
    }
    return cuts;
}

squares normal_form(squares s, std::int64_t width, std::int64_t height);

// Pieces stacked between full cuts: each in its normal form, in order of
// height and then of reading.
squares stacked_form(const squares& s, std::int64_t width, std::int64_t height,
                     const std::vector<std::int64_t>& cuts)
{
    std::vector<std::pair<std::int64_t, squares>> pieces;
    std::int64_t from = 0;
    for (std::size_t k = 0; k <= cuts.size(); ++k) {
        const std::int64_t to = k < cuts.size() ? cuts[k] : height;
        squares piece;
        for (const square_box& b : s) {
            if (b.y >= from && b.y < to)
                piece.push_back({b.x, static_cast<std::int32_t>(b.y - from), b.side});
        }
        pieces.push_back({to - from, normal_form(std::move(piece), width, to - from)});
        from = to;
    }
    std::sort(pieces.begin(), pieces.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return reads_greater(b.second, a.second);
    });
    squares out;
    std::int64_t y = 0;
    for (const auto& p : pieces) {
        for (const square_box& b : p.second)
            out.push_back({b.x, static_cast<std::int32_t>(b.y + y), b.side});
        y += p.first;
    }
    sort_placed(out);
    return out;
}

struct element {
    sub_rectangle box;
    squares form;         // its normal form in its box
    squares form_turned;  // in the box turned a quarter (height x width)
};

// No full cut: the maximal sub-rectangles in their normal forms, the whole
// the way it reads greatest.
squares rigid_form(const squares& s, std::int64_t width, std::int64_t height)
{
    std::vector<element> elements;
    std::vector<char> inside(s.size(), 0);
    for (const sub_rectangle& r : maximal_subrectangles(s, width, height)) {
        const auto within = [&](const square_box& b) {
            return b.x >= r.x && b.y >= r.y && b.x + b.side <= r.x + r.width &&
                   b.y + b.side <= r.y + r.height;
        };
        squares local;
        bool overlaps = false;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (!within(s[i])) continue;
            if (inside[i]) overlaps = true;
            local.push_back({s[i].x - r.x, s[i].y - r.y, s[i].side});
        }
        // Only four squares meeting at a point let two overlap here; the
        // first keeps the squares.
        if (overlaps) continue;
        for (std::size_t i = 0; i < s.size(); ++i) inside[i] |= within(s[i]);
        element e{r, normal_form(local, r.width, r.height), {}};
        e.form_turned =
            r.width == r.height ? e.form : normal_form(transposed(local), r.height, r.width);
        elements.push_back(std::move(e));
    }
    squares best;
    squares candidate;
    const int ways = width == height ? 8 : 4;
    for (int way = 0; way < ways; ++way) {
        candidate.clear();
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (!inside[i]) candidate.push_back(turned(s[i], way, width, height));
        }
        for (const element& e : elements) {
            const square_box corner = turned({e.box.x, e.box.y, 0}, way, width, height);
            // The box's far corner turned too: the turned box's top-left is the least of both.
            const square_box far =
                turned({e.box.x + e.box.width, e.box.y + e.box.height, 0}, way, width, height);
            const std::int32_t x = std::min(corner.x, far.x);
            const std::int32_t y = std::min(corner.y, far.y);
            for (const square_box& b :
                 (way & 4) && e.box.width != e.box.height ? e.form_turned : e.form)
                candidate.push_back({b.x + x, b.y + y, b.side});
        }
        sort_placed(candidate);
        if (best.empty() || reads_greater(candidate, best)) best = candidate;
    }
    return best;
}

squares normal_form(squares s, std::int64_t width, std::int64_t height)
{
    sort_placed(s);
    if (s.size() <= 1) return s;
    const std::vector<std::int64_t> rows = full_cuts(s, width, height);
    if (!rows.empty()) return stacked_form(s, width, height, rows);
    const squares t = transposed(s);
    const std::vector<std::int64_t> columns = full_cuts(t, height, width);
    if (!columns.empty()) {
        squares back = transposed(stacked_form(t, height, width, columns));
        sort_placed(back);
        return back;
    }
    return rigid_form(s, width, height);
}

}  // namespace

std::vector<square_box> subrectangle_normal_form(std::vector<square_box> squares,
                                                 std::int64_t width, std::int64_t height)
{
    return normal_form(std::move(squares), width, height);
}

void append_subrectangle_canonical(const std::vector<square_box>& s, std::int64_t width,
                                   std::int64_t height, canonical_scratch& scratch,
                                   std::string& out, const std::string& caption)
{
    squares form =
        height > width ? normal_form(transposed(s), height, width) : normal_form(s, width, height);
    if (height > width) std::swap(width, height);
    append_canonical(form, width, height, caption, scratch, out);
}

bool append_code_line(const square_case& c, bool up_to_subrectangles, canonical_scratch& scratch,
                      std::string& out, std::string& problem)
{
    if (!up_to_subrectangles) return append_canonical_line(c, scratch, out, problem);
    if (!place_dissection(c, scratch, problem)) return false;
    const squares placed = scratch.squares;
    append_subrectangle_canonical(placed, c.width, c.height, scratch, out, c.caption);
    return true;
}
