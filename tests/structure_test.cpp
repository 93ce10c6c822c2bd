// A dissection's structure: the maximal sub-rectangles against brute force
// on random tilings, a table of known cases, and the normal form up to the
// sub-rectangles' symmetries unchanged by turning a sub-rectangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "analysis/structure.h"
#include "analysis/subrectangle_form.h"

namespace {

using boxes = std::vector<square_box>;

// A random tiling: each square fills part of the run of lowest columns.
boxes random_tiling(std::int64_t width, std::int64_t height, std::mt19937& random)
{
    std::vector<std::int32_t> depth(static_cast<std::size_t>(width), 0);
    boxes squares;
    for (;;) {
        const auto at = std::min_element(depth.begin(), depth.end());
        if (*at == height) return squares;
        auto run = at;
        while (run != depth.end() && *run == *at) ++run;
        const std::int32_t most =
            static_cast<std::int32_t>(std::min<std::int64_t>(run - at, height - *at));
        const std::int32_t side =
            random() % 3 == 0 ? most : 1 + static_cast<std::int32_t>(random() % most);
        squares.push_back({static_cast<std::int32_t>(at - depth.begin()), *at, side});
        std::fill(at, at + side, *at + side);
    }
}

// Brute force: every rectangle between edge coordinates made of two or more
// of the squares, short of all, then those inside no other.
std::vector<std::tuple<int, int, int, int>> maximal_by_force(const boxes& squares)
{
    std::vector<std::int32_t> xs, ys;
    for (const square_box& s : squares) {
        xs.insert(xs.end(), {s.x, s.x + s.side});
        ys.insert(ys.end(), {s.y, s.y + s.side});
    }
    for (auto* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    std::vector<std::tuple<int, int, int, int>> all;  // x0, y0, x1, y1
    for (const int x0 : xs)
        for (const int x1 : xs)
            for (const int y0 : ys)
                for (const int y1 : ys) {
                    if (x1 <= x0 || y1 <= y0) continue;
                    std::int64_t area = 0;
                    std::size_t inside = 0;
                    for (const square_box& s : squares) {
                        if (s.x >= x0 && s.x + s.side <= x1 && s.y >= y0 && s.y + s.side <= y1) {
                            area += std::int64_t{s.side} * s.side;
                            ++inside;
                        }
                    }
                    if (inside >= 2 && inside < squares.size() &&
                        area == std::int64_t{x1 - x0} * (y1 - y0))
                        all.emplace_back(x0, y0, x1, y1);
                }
    std::vector<std::tuple<int, int, int, int>> kept;
    for (const auto& [x0, y0, x1, y1] : all) {
        const bool inner = std::any_of(all.begin(), all.end(), [&](const auto& o) {
            const auto [a0, b0, a1, b1] = o;
            return o != std::make_tuple(x0, y0, x1, y1) && a0 <= x0 && b0 <= y0 && x1 <= a1 &&
                   y1 <= b1;
        });
        if (!inner) kept.emplace_back(y0, x0, x1 - x0, y1 - y0);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

std::vector<std::tuple<int, int, int>> as_tuples(const boxes& squares)
{
    std::vector<std::tuple<int, int, int>> t;
    for (const square_box& s : squares) t.emplace_back(s.x, s.y, s.side);
    std::sort(t.begin(), t.end());
    return t;
}

TEST(Structure, MaximalSubRectanglesAgreeWithBruteForce)
{
    std::mt19937 random(5);
    int several = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const std::int64_t width = 1 + random() % 12;
        const std::int64_t height = 1 + random() % 12;
        const boxes tiling = random_tiling(width, height, random);
        std::vector<std::tuple<int, int, int, int>> found;
        for (const sub_rectangle& r : maximal_subrectangles(tiling, width, height))
            found.emplace_back(r.y, r.x, r.width, r.height);
        ASSERT_EQ(found, maximal_by_force(tiling)) << "trial " << trial;
        std::vector<std::tuple<int, int, int, int>> on_runs;
        for (const sub_rectangle& r : maximal_subrectangles_on_runs(tiling, width, height))
            on_runs.emplace_back(r.y, r.x, r.width, r.height);
        ASSERT_EQ(on_runs, found) << "trial " << trial;
        several += found.size() >= 2;
    }
    EXPECT_GT(several, 50);
}

// A case of the given sides, checked.
case_verdict checked(std::int32_t width, std::int32_t height, std::vector<std::int32_t> sides)
{
    square_case c;
    c.width = width;
    c.height = height;
    c.count = static_cast<std::int32_t>(sides.size());
    c.sides_given = c.count;
    c.sides = std::move(sides);
    return check_case(c);
}

TEST(Structure, KnownCases)
{
    const std::vector<std::int32_t> nine = {18, 15, 7, 8, 14, 4, 10, 1, 9};  // 33 x 32
    const auto with = [&](std::vector<std::int32_t> before, std::vector<std::int32_t> after) {
        before.insert(before.end(), nine.begin(), nine.end());
        before.insert(before.end(), after.begin(), after.end());
        return before;
    };
    const struct {
        const char* what;
        case_verdict verdict;
        const char* structure;
        const char* list;
    } rows[] = {
        {"simple", checked(33, 32, nine), "simple", ""},
        {"a square on top", checked(33, 65, with({33}, {})), "trivially compound", "33x32@0,33"},
        {"three stacked", checked(33, 98, with({33}, {33})), "trivially compound",
         "33x65@0,0 33x65@0,33"},
        {"nested, beside a square", checked(98, 65, with({65, 33}, {})), "trivially compound",
         "33x65@65,0"},
        {"two side by side",
         checked(66, 32, {18, 15, 18, 15, 7, 8, 7, 8, 14, 4, 14, 4, 10, 1, 10, 1, 9, 9}),
         "compound", "33x32@0,0 33x32@33,0"},
        {"a c-net with a sub-rectangle",
         checked(261, 259, {131, 130, 1, 129, 36, 40, 56, 32, 4, 28, 16, 72, 60}), "compound",
         "132x128@0,131"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(row.verdict.dissection) << row.verdict.problem;
        EXPECT_STREQ(structure_name(structure_of(row.verdict)), row.structure);
        EXPECT_EQ(subrectangle_list(row.verdict.subrectangles), row.list);
    }
}

// A case too large to list: a grid of 300 x 300 unit squares.
TEST(Structure, LargeCasesAreNotListed)
{
    boxes grid;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) grid.push_back({x, y, 1});
    std::vector<sub_rectangle> list{{0, 0, 1, 1}};
    EXPECT_FALSE(list_maximal_subrectangles(grid, 300, 300, list));
    EXPECT_TRUE(list.empty());
}

// Whether four squares meet at a point: a cross.
bool has_cross(const boxes& squares)
{
    std::vector<std::pair<int, int>> corners;
    for (const square_box& s : squares) {
        for (const int dx : {0, s.side})
            for (const int dy : {0, s.side}) corners.emplace_back(s.x + dx, s.y + dy);
    }
    std::sort(corners.begin(), corners.end());
    for (std::size_t i = 0; i + 3 < corners.size(); ++i) {
        if (corners[i] == corners[i + 3]) return true;
    }
    return false;
}

// Mirroring one maximal sub-rectangle in place, or turning the whole, keeps
// the normal form; it is a tiling of the same box. Where four squares meet
// at a point the form may differ (the reference says so): left out.
TEST(Structure, NormalFormIgnoresTurnedSubRectangles)
{
    std::mt19937 random(9);
    int tried = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const std::int64_t width = 2 + random() % 12;
        const std::int64_t height = 1 + random() % 12;
        const boxes tiling = random_tiling(width, height, random);
        if (has_cross(tiling)) continue;
        ++tried;
        const boxes form = subrectangle_normal_form(tiling, width, height);
        std::int64_t area = 0;
        for (const square_box& s : form) area += std::int64_t{s.side} * s.side;
        ASSERT_EQ(area, width * height);
        ASSERT_EQ(form.size(), tiling.size());
        boxes changed = tiling;
        const std::vector<sub_rectangle> inner = maximal_subrectangles(tiling, width, height);
        if (!inner.empty()) {
            const sub_rectangle& r = inner[random() % inner.size()];
            const bool flip_y = random() % 2 == 0;
            for (square_box& s : changed) {
                if (s.x < r.x || s.y < r.y || s.x + s.side > r.x + r.width ||
                    s.y + s.side > r.y + r.height)
                    continue;
                if (flip_y) {
                    s.y = 2 * r.y + r.height - s.y - s.side;
                } else {
                    s.x = 2 * r.x + r.width - s.x - s.side;
                }
            }
        }
        for (square_box& s : changed) s.x = static_cast<std::int32_t>(width - s.x - s.side);
        if (has_cross(changed)) continue;
        ASSERT_EQ(as_tuples(subrectangle_normal_form(changed, width, height)), as_tuples(form))
            << "trial " << trial;
    }
    EXPECT_GT(tried, 100);
}

}  // namespace
