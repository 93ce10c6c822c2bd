#include "analysis/case_check.h"

#include <algorithm>
#include <utility>

namespace {

// An edge of a square on a line: a horizontal one at `line` = y from
// `from` to `to` along x, or a vertical one at x along y.
struct edge {
    std::int64_t line;
    std::int64_t from;
    std::int64_t to;
    std::size_t square;
    bool far;  // the bottom or right edge, not the top or left one
};

// For every square, the ends of the longest straight runs of edges through
// its four sides: how far right the run along its top goes, how far down
// the run along its left side goes, and so on.
struct runs {
    std::vector<std::int64_t> top_right;
    std::vector<std::int64_t> bottom_left;
    std::vector<std::int64_t> left_bottom;
    std::vector<std::int64_t> right_top;
};

// Joins the edges on each line into runs where they meet or overlap, and
// gives each edge's square the near or far end of its run.
void join_edges(std::vector<edge>& edges, std::vector<std::int64_t>& near_end_far_edges,
                std::vector<std::int64_t>& far_end_near_edges)
{
    std::sort(edges.begin(), edges.end(), [](const edge& a, const edge& b) {
        return a.line != b.line ? a.line < b.line : a.from < b.from;
    });
    for (std::size_t first = 0; first < edges.size();) {
        std::size_t last = first + 1;
        std::int64_t reach = edges[first].to;
        while (last < edges.size() && edges[last].line == edges[first].line &&
               edges[last].from <= reach) {
            reach = std::max(reach, edges[last].to);
            ++last;
        }
        for (std::size_t k = first; k < last; ++k) {
            if (edges[k].far) {
                near_end_far_edges[edges[k].square] = edges[first].from;
            } else {
                far_end_near_edges[edges[k].square] = reach;
            }
        }
        first = last;
    }
}

runs find_runs(const std::vector<square_box>& squares)
{
    const std::size_t n = squares.size();
    runs r{std::vector<std::int64_t>(n), std::vector<std::int64_t>(n), std::vector<std::int64_t>(n),
           std::vector<std::int64_t>(n)};
    std::vector<edge> edges;
    edges.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        const square_box& s = squares[i];
        edges.push_back({s.y, s.x, s.x + s.side, i, false});
        edges.push_back({s.y + s.side, s.x, s.x + s.side, i, true});
    }
    join_edges(edges, r.bottom_left, r.top_right);
    edges.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const square_box& s = squares[i];
        edges.push_back({s.x, s.y, s.y + s.side, i, false});
        edges.push_back({s.x + s.side, s.y, s.y + s.side, i, true});
    }
    join_edges(edges, r.right_top, r.left_bottom);
    return r;
}

bool all_sides_differ(const std::vector<square_box>& squares)
{
    std::vector<std::int64_t> sides;
    sides.reserve(squares.size());
    for (const square_box& s : squares) sides.push_back(s.side);
    std::sort(sides.begin(), sides.end());
    return std::adjacent_find(sides.begin(), sides.end()) == sides.end();
}

}  // namespace

void note_square(case_check& check, const placed_square& s)
{
    check.squares.push_back(
        {s.where.column, std::int64_t{check.height} - s.where.top, s.where.side});
}

case_verdict check_case(const square_case& c)
{
    struct reader : placement_reader {
        reader(std::int32_t height) : report(height), check(height) {}
        tiling_report report;
        case_check check;
        void take(const placed_square& s) override
        {
            note_square(report, s);
            note_square(check, s);
        }
        void finish(const skyline& sky) override { note_end(report, sky); }
    } squares(c.height);
    std::string failure;
    try {
        place_squares(c, squares);
    } catch (const placement_error& e) {
        note_failure(squares.report, e.what());
        failure = e.what();
    }
    case_verdict verdict = judge_case(squares.check, c, squares.report);
    verdict.placed = failure.empty();
    verdict.failure = std::move(failure);
    return verdict;
}

case_verdict judge_case(const case_check& check, const square_case& c, const tiling_report& report)
{
    case_verdict verdict;
    if (c.height < 1) {
        verdict.problem = "the height is " + std::to_string(c.height) + "; the rectangle is empty";
        return verdict;
    }
    if (!report.problem.empty()) {
        verdict.problem = report.problem;
        return verdict;
    }
    verdict.dissection = true;
    verdict.perfect = all_sides_differ(check.squares);
    verdict.simple = !has_inner_rectangle(check.squares, c.width, c.height);
    return verdict;
}

// A rectangle made of some of the squares has the top-left corner of one
// square, s, and the bottom-right corner of another, t, and its four sides
// lie on runs of edges (no square crosses them). Conversely such a pair
// bounds squares that fill it. So each pair is checked against the runs
// through the sides of s and t, and only the squares t whose right edge
// lies within the run along the top of s are tried.
bool has_inner_rectangle(const std::vector<square_box>& squares, std::int64_t width,
                         std::int64_t height)
{
    const std::size_t n = squares.size();
    if (n < 3) return false;
    const runs r = find_runs(squares);
    std::vector<std::size_t> by_right(n);
    for (std::size_t i = 0; i < n; ++i) by_right[i] = i;
    const auto right = [&](std::size_t i) { return squares[i].x + squares[i].side; };
    std::sort(by_right.begin(), by_right.end(),
              [&](std::size_t a, std::size_t b) { return right(a) < right(b); });

    for (std::size_t s = 0; s < n; ++s) {
        const square_box& a = squares[s];
        auto k = std::partition_point(by_right.begin(), by_right.end(),
                                      [&](std::size_t i) { return right(i) <= a.x; });
        for (; k != by_right.end() && right(*k) <= r.top_right[s]; ++k) {
            const std::size_t t = *k;
            const square_box& b = squares[t];
            const std::int64_t bottom = b.y + b.side;
            if (t == s || bottom <= a.y || bottom > r.left_bottom[s]) continue;
            if (r.bottom_left[t] > a.x || r.right_top[t] > a.y) continue;
            if (a.x == 0 && a.y == 0 && right(t) == width && bottom == height) continue;
            return true;
        }
    }
    return false;
}
