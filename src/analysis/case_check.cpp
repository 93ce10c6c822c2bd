#include "analysis/case_check.h"

#include "analysis/structure.h"

#include <algorithm>
#include <utility>

namespace {

// For every square, the ends of the longest straight runs of edges through
// its four sides: how far right the run along its top goes, how far down
// the run along its left side goes, and so on.
struct runs {
    std::vector<std::int32_t> top_right;
    std::vector<std::int32_t> bottom_left;
    std::vector<std::int32_t> left_bottom;
    std::vector<std::int32_t> right_top;
};

// Sorts `order` stably by `key` (0 to 2^31 - 1), 16 bits a pass, with
// `spare` as room: on the squares of a large case this beats a sort by
// comparisons that look each square up again and again.
template <typename Key>
void sort_by(std::vector<std::uint32_t>& order, std::vector<std::uint32_t>& spare,
             std::int64_t largest, Key key)
{
    // Few squares: the passes would cost more than the sort.
    if (order.size() < (1 << 14)) {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return key(a) < key(b); });
        return;
    }
    spare.resize(order.size());
    std::vector<std::uint32_t> counts(1 << 16);
    for (unsigned shift = 0; shift < 32 && (largest >> shift) != 0; shift += 16) {
        std::fill(counts.begin(), counts.end(), 0);
        for (const std::uint32_t i : order) ++counts[(static_cast<std::uint32_t>(key(i)) >> shift) & 0xffff];
        std::uint32_t at = 0;
        for (std::uint32_t& count : counts) at += std::exchange(count, at);
        for (const std::uint32_t i : order)
            spare[counts[(static_cast<std::uint32_t>(key(i)) >> shift) & 0xffff]++] = i;
        order.swap(spare);
    }
}

// The runs of one way: along x at each depth (`across`), or down at each x.
// Only the near (top or left) edges are used, sorted as square numbers in
// `order` (by line, then along it): in a dissection a line inside the
// rectangle is covered by near edges wherever it is by far ones, and the
// far side of the rectangle is one run from 0. So each square gets the far
// end of the run through its near edge (`near_reach`) and the near end of
// the run through its far edge (`far_start`), found by a search among the
// near edges, in about 12 bytes a square where a list of both edges would
// take 80.
void runs_one_way(const std::vector<square_box>& squares, bool across, std::int64_t far_extent,
                  const std::vector<std::uint32_t>& order, std::vector<std::uint32_t>& start,
                  std::vector<std::int32_t>& near_reach, std::vector<std::int32_t>& far_start)
{
    const auto line = [&](std::uint32_t i) { return across ? squares[i].y : squares[i].x; };
    const auto from = [&](std::uint32_t i) { return across ? squares[i].x : squares[i].y; };
    const std::size_t n = squares.size();
    start.resize(n);
    near_reach.resize(n);
    far_start.resize(n);
    for (std::size_t first = 0; first < n;) {
        const std::uint32_t lead = order[first];
        std::int64_t reach = std::int64_t{from(lead)} + squares[lead].side;
        std::size_t last = first + 1;
        for (; last < n && line(order[last]) == line(lead) && from(order[last]) <= reach; ++last)
            reach = std::max(reach, std::int64_t{from(order[last])} + squares[order[last]].side);
        for (std::size_t k = first; k < last; ++k) {
            near_reach[order[k]] = static_cast<std::int32_t>(reach);
            start[order[k]] = static_cast<std::uint32_t>(from(lead));
        }
        first = last;
    }
    for (std::uint32_t t = 0; t < n; ++t) {
        const std::int64_t far_line = std::int64_t{line(t)} + squares[t].side;
        far_start[t] = 0;
        if (far_line >= far_extent) continue;
        // The last near edge on that line that begins at or before t does.
        const auto after = std::upper_bound(
            order.begin(), order.end(), t, [&](std::uint32_t, std::uint32_t i) {
                return far_line != line(i) ? far_line < line(i) : from(t) < from(i);
            });
        if (after != order.begin() && line(*(after - 1)) == far_line)
            far_start[t] = static_cast<std::int32_t>(start[*(after - 1)]);
    }
}

// The runs, and `order` left holding the squares by their right edges.
runs find_runs(const std::vector<square_box>& squares, std::int64_t width, std::int64_t height,
               std::vector<std::uint32_t>& order)
{
    runs r;
    std::vector<std::uint32_t> spare;
    order.resize(squares.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    // Placed squares come by depth, then from left to right, already.
    const auto x = [&](std::uint32_t i) { return squares[i].x; };
    const auto y = [&](std::uint32_t i) { return squares[i].y; };
    const bool placed = std::is_sorted(squares.begin(), squares.end(), [](const square_box& a, const square_box& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    if (!placed) {
        sort_by(order, spare, width, x);
        sort_by(order, spare, height, y);
    }
    runs_one_way(squares, true, height, order, spare, r.top_right, r.bottom_left);
    sort_by(order, spare, width, x);  // by x, then y: stable
    runs_one_way(squares, false, width, order, spare, r.left_bottom, r.right_top);
    sort_by(order, spare, width, [&](std::uint32_t i) { return squares[i].x + squares[i].side; });
    return r;
}

// Bitsets of coordinates or sides are kept below this size.
constexpr std::int64_t small_extent = 4096;

// The bits from `from` up to `to`, at most 64.
std::uint64_t bits_between(unsigned from, unsigned to)
{
    const std::uint64_t below_to = to >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
    return from >= 64 ? 0 : below_to & ~((std::uint64_t{1} << from) - 1);
}

std::uint64_t bit(unsigned at)
{
    return std::uint64_t{1} << at;
}

// Numbers in order the coordinates in the bitset `marks`, in `line`;
// returns their count. Only the entries of marked coordinates are written.
std::uint32_t number_marks(const std::uint64_t* marks, std::size_t words, std::uint16_t* line)
{
    std::uint32_t count = 0;
    for (std::size_t w = 0; w < words; ++w) {
        for (std::uint64_t left = marks[w]; left != 0; left &= left - 1) {
            line[w * 64 + static_cast<unsigned>(__builtin_ctzll(left))] =
                static_cast<std::uint16_t>(count++);
        }
    }
    return count;
}

// Gives each square the numbers of the lines through its edges, turned a
// quarter when that leaves fewer vertical lines; false when either way has
// more than 64, or the rectangle is too large for the tables.
bool number_lines(const std::vector<square_box>& squares, std::int64_t width, std::int64_t height,
                  check_workspace& work, std::uint32_t& columns, std::uint32_t& rows)
{
    if (width >= small_extent || height >= small_extent) return false;
    const auto x_words = static_cast<std::size_t>(width / 64 + 1);
    const auto y_words = static_cast<std::size_t>(height / 64 + 1);
    work.marks.assign(x_words + y_words, 0);
    std::uint64_t* xs = work.marks.data();
    std::uint64_t* ys = xs + x_words;
    const auto mark = [](std::uint64_t* set, std::int64_t v) { set[v >> 6] |= bit(v & 63); };
    for (const square_box& s : squares) {
        mark(xs, s.x);
        mark(xs, s.x + s.side);
        mark(ys, s.y);
        mark(ys, s.y + s.side);
    }
    if (work.line_at.size() < 64 * (x_words + y_words))
        work.line_at.resize(64 * (x_words + y_words));
    std::uint16_t* x_line = work.line_at.data();
    std::uint16_t* y_line = x_line + 64 * x_words;
    columns = number_marks(xs, x_words, x_line);
    rows = number_marks(ys, y_words, y_line);
    const bool turned = columns > rows;
    if (std::min(columns, rows) > 64) return false;
    work.boxes.clear();
    for (const square_box& s : squares) {
        const std::uint32_t left = x_line[s.x];
        const std::uint32_t right = x_line[s.x + s.side];
        const std::uint32_t top = y_line[s.y];
        const std::uint32_t bottom = y_line[s.y + s.side];
        work.boxes.push_back(turned ? check_workspace::box{top, bottom, left, right}
                                    : check_workspace::box{left, right, top, bottom});
    }
    if (turned) std::swap(columns, rows);
    return true;
}

// has_inner_rectangle on numbered lines, at most 64 of them vertical: each
// horizontal line's covered stretches and each band's covered vertical
// lines are bitsets. From the top-left corner of each square s the
// rectangle's right side may lie on any vertical line the run of edges
// along the top of s reaches; going down band by band while the left side
// stays covered, those lines that stay covered too are kept, and a
// horizontal line whose run from the left side reaches one of them closes
// a rectangle.
bool inner_rectangle_on_lines(check_workspace& work, std::uint32_t columns, std::uint32_t rows)
{
    work.across.assign(rows, 0);
    work.down.assign(rows, 0);
    std::uint64_t* across = work.across.data();
    std::uint64_t* down = work.down.data();
    for (const check_workspace::box& b : work.boxes) {
        const std::uint64_t stretch = bits_between(b.left, b.right);
        across[b.top] |= stretch;
        across[b.bottom] |= stretch;
        const std::uint64_t sides = bit(b.left) | bit(b.right);
        for (std::uint32_t k = b.top; k < b.bottom; ++k) down[k] |= sides;
    }
    for (const check_workspace::box& s : work.boxes) {
        const unsigned a = s.left;
        // Only the 63 stretches between 64 lines have bits: a run always ends.
        const auto reach = [a](std::uint64_t line) {
            return a + 1 + static_cast<unsigned>(__builtin_ctzll(~(line >> a)));
        };
        std::uint64_t open = bits_between(a + 1, reach(across[s.top]));
        for (std::uint32_t d = s.top + 1; d < rows; ++d) {
            const std::uint64_t band = down[d - 1];
            if ((band & bit(a)) == 0) break;
            open &= band;
            if (open == 0) break;
            std::uint64_t closed = open & bits_between(a + 1, reach(across[d]));
            if (d == s.bottom) closed &= ~bit(s.right);                              // s alone
            if (a == 0 && s.top == 0 && d == rows - 1) closed &= ~bit(columns - 1);  // all
            if (closed != 0) return true;
        }
    }
    return false;
}

}  // namespace

bool all_sides_differ(const std::vector<square_box>& squares, std::int64_t width,
                      check_workspace& work)
{
    if (width < small_extent) {
        // The squares of a dissection are no wider than it.
        work.marks.assign(static_cast<std::size_t>(width / 64 + 1), 0);
        for (const square_box& s : squares) {
            std::uint64_t& word = work.marks[static_cast<std::size_t>(s.side >> 6)];
            const std::uint64_t bit = std::uint64_t{1} << (s.side & 63);
            if (word & bit) return false;
            word |= bit;
        }
        return true;
    }
    std::vector<std::int32_t>& sides = work.sides;
    sides.clear();
    for (const square_box& s : squares) sides.push_back(s.side);
    std::sort(sides.begin(), sides.end());
    return std::adjacent_find(sides.begin(), sides.end()) == sides.end();
}

case_verdict check_case(const square_case& c)
{
    check_workspace work;
    return check_case(c, work);
}

void place_boxes(const square_case& c, skyline& sky, std::vector<square_box>& boxes,
                 std::string& problem, std::string& failure)
{
    struct reader {
        reader(std::int32_t height, std::vector<square_box>& squares)
            : report(height), boxes(squares)
        {
        }
        tiling_report report;
        std::vector<square_box>& boxes;
        void take(const placed_square& s)
        {
            note_square(report, s);
            // Wrapped for a square far outside the rectangle, which is no
            // dissection and whose box is not looked at.
            boxes.push_back({static_cast<std::int32_t>(s.where.column),
                             static_cast<std::int32_t>(std::int64_t{report.height} - s.where.top),
                             static_cast<std::int32_t>(s.where.side)});
        }
        void finish(const skyline& sky) { note_end(report, sky); }
    } squares(c.height, boxes);
    boxes.clear();
    boxes.reserve(c.sides.size());
    failure.clear();
    try {
        place_squares(c, sky, squares);
    } catch (const placement_error& e) {
        note_failure(squares.report, e.what());
        failure = e.what();
    }
    problem = c.height < 1
                  ? "the height is " + std::to_string(c.height) + "; the rectangle is empty"
                  : std::move(squares.report.problem);
}

case_verdict check_case(const square_case& c, check_workspace& work)
{
    case_verdict verdict;
    std::string problem;
    place_boxes(c, work.sky, work.squares, problem, verdict.failure);
    verdict.placed = verdict.failure.empty();
    if (!problem.empty()) {
        verdict.problem = std::move(problem);
        return verdict;
    }
    verdict.dissection = true;
    verdict.perfect = all_sides_differ(work.squares, c.width, work);
    verdict.simple = !has_inner_rectangle(work.squares, c.width, c.height, work);
    if (!verdict.simple) {
        verdict.trivially_compound = has_full_square(work.squares, c.width, c.height);
        verdict.subrectangles_listed =
            list_maximal_subrectangles(work.squares, c.width, c.height, verdict.subrectangles);
    }
    return verdict;
}

bool has_inner_rectangle(const std::vector<square_box>& squares, std::int64_t width,
                         std::int64_t height, check_workspace& work)
{
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    if (squares.size() < 3) return false;
    if (!number_lines(squares, width, height, work, columns, rows)) {
        return has_inner_rectangle(squares, width, height);
    }
    return inner_rectangle_on_lines(work, columns, rows);
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
    std::vector<std::uint32_t> by_right;
    const runs r = find_runs(squares, width, height, by_right);
    const auto right = [&](std::size_t i) { return std::int64_t{squares[i].x} + squares[i].side; };

    for (std::size_t s = 0; s < n; ++s) {
        const square_box& a = squares[s];
        auto k = std::partition_point(by_right.begin(), by_right.end(),
                                      [&](std::size_t i) { return right(i) <= a.x; });
        for (; k != by_right.end() && right(*k) <= r.top_right[s]; ++k) {
            const std::size_t t = *k;
            const square_box& b = squares[t];
            const std::int64_t bottom = std::int64_t{b.y} + b.side;
            if (t == s || bottom <= a.y || bottom > r.left_bottom[s]) continue;
            if (r.bottom_left[t] > a.x || r.right_top[t] > a.y) continue;
            if (a.x == 0 && a.y == 0 && right(t) == width && bottom == height) continue;
            return true;
        }
    }
    return false;
}
