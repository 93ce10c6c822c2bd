// Where squares go, checked against the rule applied column by column.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "placement/place_squares.h"
#include "placement/skyline.h"
#include "analysis/tiling_report.h"
#include "random_cases.h"
#include "test_cases.h"

namespace {

struct outcome {
    std::vector<placement> placements;
    std::vector<std::int64_t> depths;  // one per column
};

// The rule as stated: scan every column for the left-most least depth, and
// add the side to each column under the square.
outcome column_model(std::int32_t width, std::int32_t height,
                     const std::vector<std::int32_t>& sides)
{
    outcome result;
    result.depths.assign(static_cast<std::size_t>(width), 0);
    for (const std::int32_t side : sides) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < result.depths.size(); ++i) {
            if (result.depths[i] < result.depths[best]) best = i;
        }
        result.placements.push_back(
            {static_cast<std::int64_t>(best), height - result.depths[best], side});
        for (std::int32_t k = 0; k < side; ++k) result.depths[best + k] += side;
    }
    return result;
}

std::vector<std::int64_t> expand(const skyline& sky)
{
    std::vector<std::int64_t> depths;
    for (const column_span& span : column_spans(sky))
        depths.insert(depths.end(), span.length, span.depth);
    return depths;
}

outcome skyline_run(std::int32_t width, std::int32_t height, const std::vector<std::int32_t>& sides)
{
    outcome result;
    skyline sky = make_skyline(width);
    for (const std::int32_t side : sides) {
        const placement p = place_square(sky, side, height);
        result.placements.push_back(p);
        if (side > 0) raise_columns(sky, p);
    }
    result.depths = expand(sky);
    return result;
}

std::vector<std::int64_t> columns_of(const outcome& o)
{
    std::vector<std::int64_t> columns;
    for (const placement& p : o.placements) columns.push_back(p.column);
    return columns;
}

using columns = std::vector<std::int64_t>;

TEST(Placement, TiesGoToTheLeft)
{
    const outcome o = skyline_run(4, 3, {2, 2, 1, 1});
    EXPECT_EQ(columns_of(o), (columns{0, 2, 0, 1}));
    EXPECT_EQ(o.depths, (columns{3, 3, 2, 2}));
}

TEST(Placement, RaisingAddsToEachColumnsOwnDepth)
{
    const outcome o = skyline_run(4, 3, {1, 1, 2, 1, 3});
    EXPECT_EQ(columns_of(o), (columns{0, 1, 2, 0, 1}));
    EXPECT_EQ(o.placements[4].top, 2);
    EXPECT_EQ(o.placements[4].top - o.placements[4].side, -1);
    EXPECT_EQ(o.depths, (columns{2, 4, 5, 5}));
}

TEST(Placement, ZeroAndNegativeSidesRaiseNothing)
{
    const outcome o = skyline_run(3, 2, {0, -4, 2, 0});
    EXPECT_EQ(columns_of(o), (columns{0, 0, 0, 2}));
    EXPECT_EQ(o.placements[1].top, 2);
    EXPECT_EQ(o.depths, (columns{2, 2, 0}));
}

TEST(Placement, NineSquareCase)
{
    const outcome o = skyline_run(33, 32, {18, 15, 7, 8, 14, 4, 10, 1, 9});
    EXPECT_EQ(columns_of(o), (columns{0, 18, 18, 25, 0, 14, 14, 24, 24}));
    EXPECT_EQ(o.depths, columns(33, 32));
}

// A stretch of uneven columns raised as a whole, then in part: the whole
// raise must not be lost (here columns 0 to 9 hold depths 1 and 19 and are
// raised by 10 together before column 0 is raised alone).
TEST(Placement, UnevenStretchRaisedWholeThenInPart)
{
    const outcome o = skyline_run(20, 100, {1, 19, 10, 1, 1});
    EXPECT_EQ(columns_of(o), (columns{0, 1, 0, 0, 0}));
    EXPECT_EQ(o.placements[3].top, 100 - 11);
    EXPECT_EQ(o.placements[4].top, 100 - 12);
    EXPECT_EQ(o.depths, (columns{13, 29, 29, 29, 29, 29, 29, 29, 29, 29,
                                 19, 19, 19, 19, 19, 19, 19, 19, 19, 19}));
}

TEST(Placement, WidthOfOneTakesColumnZero)
{
    const outcome o = skyline_run(1, 5, {1, 1, 1});
    EXPECT_EQ(columns_of(o), (columns{0, 0, 0}));
    EXPECT_EQ(o.placements[2].top, 3);
}

TEST(Placement, HugeWidthKeepsFewNodes)
{
    skyline sky = make_skyline(2147483647, 0);
    for (int i = 0; i < 1000; ++i) raise_columns(sky, place_square(sky, 1000000, 1000000));
    EXPECT_EQ(lowest_column(sky), 1000000000);
    // One boundary at a time: a path down the tree, whatever the count.
    EXPECT_LE(sky.nodes.size(), 2u * 32);
    const auto spans = column_spans(sky);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].length, 1000000000);
    EXPECT_EQ(spans[0].depth, 1000000);
    EXPECT_EQ(spans[1].depth, 0);
}

// Random lists, dissections or not, with zero and negative sides.
TEST(Placement, AgreesWithTheColumnModelOnRandomCases)
{
    std::mt19937 random(2026);
    for (int trial = 0; trial < 4000; ++trial) {
        const std::int32_t width = 1 + static_cast<std::int32_t>(random() % 40);
        const std::int32_t height = static_cast<std::int32_t>(random() % 60) - 5;
        std::vector<std::int32_t> sides;
        skyline sky = make_skyline(width);
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            // Keep every square within the width, as accepted cases are.
            const std::int64_t column = place_square(sky, 1, height).column;
            const auto room = static_cast<std::int32_t>(width - column);
            std::int32_t side = 1 + static_cast<std::int32_t>(random() % room);
            if (random() % 8 == 0) side = -static_cast<std::int32_t>(random() % 5);
            if (random() % 2 == 0 && trial % 2 == 0) side = std::min(side, 2);
            if (random() % 4 == 0 && trial % 3 == 0) side = room;
            sides.push_back(side);
            if (side > 0) raise_columns(sky, place_square(sky, side, height));
        }
        const outcome expected = column_model(width, height, sides);
        const outcome actual = skyline_run(width, height, sides);
        ASSERT_EQ(columns_of(actual), columns_of(expected)) << "trial " << trial;
        ASSERT_EQ(actual.depths, expected.depths) << "trial " << trial;
        for (std::size_t i = 0; i < sides.size(); ++i) {
            ASSERT_EQ(actual.placements[i].top, expected.placements[i].top);
        }
    }
}

// All a reader is handed: each square as numbers, the final columns, or the failure.
struct recorded {
    std::vector<std::int64_t> squares;
    std::vector<std::int64_t> spans;
    std::string failure;
    void take(const placed_square& s)
    {
        squares.insert(squares.end(), {std::int64_t(s.number), s.where.column, s.where.top,
                                       s.where.side, s.under.lowest, s.under.highest});
    }
    void finish(const skyline& sky)
    {
        for (const column_span& span : column_spans(sky))
            spans.insert(spans.end(), {span.first, span.length, span.depth});
    }
};

recorded record(const square_case& c, skyline& sky, std::size_t most_runs)
{
    recorded r;
    sky.most_runs = most_runs;
    try {
        place_squares(c, sky, r);
    } catch (const placement_error& e) {
        r.failure = e.what();
    }
    return r;
}

// The list of runs, the tree, and the list turning into the tree after any
// number of runs hand the readers the same squares, columns and failures;
// a skyline is reused from case to case. Every third case has hundreds of
// narrow squares: its runs pass the usual limit.
TEST(Placement, RunsAndTreeAgree)
{
    std::mt19937_64 random(77);
    std::vector<square_case> cases = {
        make_case(1073741825, 2147483647, {1, 1073741824, 1073741825}),
        make_case(2147483647, 2147483647, {2147483647, 0, -2147483647}),
        make_case(5, 3, {2, 2, 1, 2, 9}), make_case(1, 3, {1, 1, 1, 1})};
    for (int trial = 0; trial < 1500; ++trial) {
        square_case c = make_random_case(random).c;
        if (trial % 3 == 0) {
            c = make_case(100 + static_cast<std::int32_t>(random() % 200), 50, {});
            skyline sky = make_skyline(c.width);
            for (int i = 0; i < 400; ++i) {
                const auto room = static_cast<std::uint64_t>(c.width - lowest_column(sky));
                c.sides.push_back(
                    static_cast<std::int32_t>(1 + random() % std::min<std::uint64_t>(room, 3)));
                raise_columns(sky, place_square(sky, c.sides.back(), c.height));
            }
        }
        cases.push_back(c);
    }
    skyline tree_sky, runs_sky;
    for (const square_case& c : cases) {
        const recorded tree = record(c, tree_sky, 0);
        for (const std::size_t most : {1, 2, 3, 5, 8, 13, 64}) {
            const recorded runs = record(c, runs_sky, most);
            ASSERT_EQ(runs.squares, tree.squares) << "most " << most;
            ASSERT_EQ(runs.spans, tree.spans);
            ASSERT_EQ(runs.failure, tree.failure);
        }
        ASSERT_TRUE(tree_sky.tree);
    }
    EXPECT_FALSE(make_skyline(300).tree);
}

// Raises anywhere, not only at the lowest column, in the runs and in the tree.
TEST(Placement, RunsAndTreeAgreeOnRaisesAnywhere)
{
    std::mt19937 random(78);
    for (int trial = 0; trial < 400; ++trial) {
        const auto width = static_cast<std::int32_t>(1 + random() % 60);
        skyline tree = make_skyline(width, 0);
        skyline runs = make_skyline(width, trial % 2 == 0 ? 64 : 1 + random() % 12);
        for (int i = 0; i < 60; ++i) {
            const auto column = static_cast<std::int32_t>(random() % width);
            const placement p{column, 0,
                              static_cast<std::int32_t>(1 + random() % (width - column))};
            const ground a = raise_columns(tree, p), b = raise_columns(runs, p);
            ASSERT_EQ(std::make_pair(a.lowest, a.highest), std::make_pair(b.lowest, b.highest));
            ASSERT_EQ(expand(tree), expand(runs));
            ASSERT_EQ(lowest_column(tree), lowest_column(runs));
        }
    }
}

// The tiling report of a case, or the failure that stopped it.
struct reported : placement_reader {
    explicit reported(std::int32_t height) : report(height) {}
    tiling_report report;
    void take(const placed_square& s) override { note_square(report, s); }
    void finish(const skyline& sky) override { note_end(report, sky); }
};

std::vector<std::string> warnings_of(const square_case& c)
{
    reported r(c.height);
    place_squares(c, r);
    return r.report.warnings;
}

std::string failure_of(const square_case& c)
{
    try {
        warnings_of(c);
    } catch (const placement_error& e) {
        return e.what();
    }
    return "no failure";
}

TEST(PlacementLimits, SquareOverhangingTheRightEdgeIsRejected)
{
    EXPECT_EQ(failure_of(make_case(4, 4, {2, 3})),
              "square 2 (side 3, column 2) overhangs the right edge: it reaches x = 5 in a "
              "rectangle 4 wide");
    EXPECT_EQ(failure_of(make_case(1, 1, {2})),
              "square 1 (side 2, column 0) overhangs the right edge: it reaches x = 2 in a "
              "rectangle 1 wide");
}

TEST(PlacementLimits, CoordinatesAndDepthsNeverWrap)
{
    EXPECT_EQ(failure_of(make_case(5, -2147483647 - 1, {1})),
              "square 1 (side 1, column 0) would have its top edge at y = -2147483648 and its "
              "bottom edge at y = -2147483649, outside the 32-bit range");
    EXPECT_EQ(failure_of(make_case(2147483647, 0, {2147483647, 2147483647})),
              "square 2 (side 2147483647, column 0) would have its top edge at y = -2147483647 "
              "and its bottom edge at y = -4294967294, outside the 32-bit range");
    // The depth itself passes the limit while the coordinates still fit.
    // The depth passes the limit while the coordinates still fit: the third
    // square rests on column 0 (depth 1) and covers columns at depth 2^30.
    EXPECT_EQ(failure_of(make_case(1073741825, 2147483647, {1, 1073741824, 1073741825})),
              "square 3 (side 1073741825, column 0) would take a column to depth 2147483649, "
              "past 2147483647");
    EXPECT_EQ(failure_of(make_case(2147483647, 2147483647, {2147483647, -2147483647 - 1})),
              "square 2 (side -2147483648, column 0) would have its top edge at y = 0 and its "
              "bottom edge at y = 2147483648, outside the 32-bit range");
    // Right at the limits nothing is rejected.
    EXPECT_EQ(failure_of(make_case(2147483647, 2147483647, {2147483647, 0, -2147483647})),
              "no failure");
}

TEST(TilingReport, DissectionHasNoWarnings)
{
    EXPECT_TRUE(warnings_of(make_case(33, 32, {18, 15, 7, 8, 14, 4, 10, 1, 9})).empty());
}

TEST(TilingReport, NamesWhatKeepsAListFromDissecting)
{
    const auto warnings = warnings_of(make_case(4, 3, {1, 1, 2, 0, 1, 3, -2}));
    const std::vector<std::string> expected = {
        "square 4 (side 0, column 0) has a side of 0 or less",
        "square 6 (side 3, column 1) rests on uneven ground: the columns under it lie at "
        "depths 1 to 2",
        "square 6 (side 3, column 1) reaches below the bottom edge, to y = -1",
        "square 7 (side -2, column 0) has a side of 0 or less",
        "column 0 ends at depth 2, short of the bottom edge at depth 3",
    };
    EXPECT_EQ(warnings, expected);
}

}  // namespace
