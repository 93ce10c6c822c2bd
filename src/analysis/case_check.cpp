#include "analysis/case_check.h"

#include "analysis/structure.h"

#include <algorithm>
#include <utility>

#include "analysis/simple_test.h"

namespace {

// Bitsets of sides are kept below this size.
constexpr std::int64_t small_extent = 4096;

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
