// What a case is: the check against brute force on random dissections,
// near-dissections and known simple perfect ones turned every way.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <sstream>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/case_check.h"
#include "analysis/dissection_net.h"
#include "analysis/simple_test.h"
#include "reading/read_catalogue.h"
#include "test_cases.h"

namespace {

using sides = std::vector<std::int32_t>;
using boxes = std::vector<square_box>;

square_box box(std::int64_t x, std::int64_t y, std::int64_t side)
{
    return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
            static_cast<std::int32_t>(side)};
}

// The sides of a tiling in the order the skyline places them: at each step
// the square whose top-left corner is the left-most lowest column.
sides skyline_order(boxes squares, std::int64_t width)
{
    std::vector<std::int64_t> depth(static_cast<std::size_t>(width), 0);
    sides order;
    while (!squares.empty()) {
        const auto lowest = std::min_element(depth.begin(), depth.end()) - depth.begin();
        const auto next = std::find_if(squares.begin(), squares.end(), [&](const square_box& s) {
            return s.x == lowest && s.y == depth[static_cast<std::size_t>(lowest)];
        });
        if (next == squares.end()) return {};
        order.push_back(static_cast<std::int32_t>(next->side));
        for (std::int64_t k = 0; k < next->side; ++k)
            depth[static_cast<std::size_t>(next->x + k)] += next->side;
        squares.erase(next);
    }
    return order;
}

// A random tiling of width x height: each square fills part of the run of
// lowest columns, as large as it may be or smaller.
boxes random_tiling(std::int64_t width, std::int64_t height, std::mt19937& random)
{
    std::vector<std::int64_t> depth(static_cast<std::size_t>(width), 0);
    boxes squares;
    for (;;) {
        const auto at = std::min_element(depth.begin(), depth.end());
        if (*at == height) return squares;
        auto run = at;
        while (run != depth.end() && *run == *at) ++run;
        const std::int64_t most = std::min<std::int64_t>(run - at, height - *at);
        const std::int64_t side =
            random() % 3 == 0 ? most : 1 + static_cast<std::int64_t>(random() % most);
        squares.push_back(box(at - depth.begin(), *at, side));
        std::fill(at, at + side, *at + side);
    }
}

// Brute force: every rectangle between coordinates of square edges, made
// exactly of the squares inside it.
bool has_inner_rectangle_by_force(const boxes& squares)
{
    std::vector<std::int64_t> xs, ys;
    for (const square_box& s : squares) {
        xs.insert(xs.end(), {s.x, s.x + s.side});
        ys.insert(ys.end(), {s.y, s.y + s.side});
    }
    for (auto* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    for (auto x1 = xs.begin(); x1 != xs.end(); ++x1)
        for (auto x2 = x1 + 1; x2 != xs.end(); ++x2)
            for (auto y1 = ys.begin(); y1 != ys.end(); ++y1)
                for (auto y2 = y1 + 1; y2 != ys.end(); ++y2) {
                    std::int64_t area = 0;
                    std::size_t inside = 0;
                    for (const square_box& s : squares) {
                        if (s.x >= *x1 && s.x + s.side <= *x2 && s.y >= *y1 &&
                            s.y + s.side <= *y2) {
                            area += s.side * s.side;
                            ++inside;
                        }
                    }
                    if (inside >= 2 && inside < squares.size() && area == (*x2 - *x1) * (*y2 - *y1))
                        return true;
                }
    return false;
}

// The squares placed column by column, up to the first whose side is 0 or
// less or that overhangs the right edge.
boxes boxes_of(const square_case& c)
{
    std::vector<std::int64_t> depth(static_cast<std::size_t>(c.width), 0);
    boxes placed;
    for (const std::int32_t side : c.sides) {
        const auto x = std::min_element(depth.begin(), depth.end()) - depth.begin();
        if (side < 1 || x + side > c.width) break;
        placed.push_back(box(x, depth[static_cast<std::size_t>(x)], side));
        std::fill_n(depth.begin() + x, side, depth[static_cast<std::size_t>(x)] + side);
    }
    return placed;
}

// Brute force: every square placed, and together they cover every unit cell
// of the rectangle exactly once.
bool dissects_by_force(const square_case& c)
{
    const boxes placed = boxes_of(c);
    if (c.height < 1 || placed.size() != c.sides.size()) return false;
    std::vector<char> cell(static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height),
                           0);
    for (const square_box& s : placed) {
        if (s.y + s.side > c.height) return false;
        for (std::int64_t i = s.x; i < s.x + s.side; ++i)
            for (std::int64_t j = s.y; j < s.y + s.side; ++j)
                if (cell[static_cast<std::size_t>(j * c.width + i)]++ != 0) return false;
    }
    return std::all_of(cell.begin(), cell.end(), [](char k) { return k == 1; });
}

// The tiling turned by a quarter (when `turn`) and mirrored left to right.
boxes transformed(boxes squares, std::int64_t& width, std::int64_t& height, bool turn, bool mirror)
{
    for (square_box& s : squares) {
        if (turn) s = {static_cast<std::int32_t>(height - s.y - s.side), s.x, s.side};
        if (mirror) s.x = static_cast<std::int32_t>((turn ? height : width) - s.x - s.side);
    }
    if (turn) std::swap(width, height);
    return squares;
}

square_case case_of(const boxes& tiling, std::int64_t width, std::int64_t height)
{
    return make_case(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                     skyline_order(tiling, width));
}

// Both searches for a rectangle inside: on the lines through the edges
// (turned either way), and on runs of edges, which large cases take. One
// workspace serves every case. Some tilings are long and thin: over 64 lines
// one way.
TEST(Check, RandomTilingsAgreeWithBruteForce)
{
    std::mt19937 random(7);
    check_workspace work;
    int simple = 0;
    for (int trial = 0; trial < 640; ++trial) {
        std::int64_t width = 1 + random() % 14;
        std::int64_t height = 1 + random() % 14;
        if (trial % 32 == 0) width = 90 + random() % 20, height = 1 + random() % 2;
        if (trial % 32 == 16) height = 90 + random() % 20, width = 1 + random() % 2;
        const boxes tiling = random_tiling(width, height, random);
        const bool inner = has_inner_rectangle_by_force(tiling);
        const case_verdict v = check_case(case_of(tiling, width, height), work);
        ASSERT_TRUE(v.dissection) << v.problem;
        ASSERT_EQ(v.simple, !inner) << "trial " << trial;
        ASSERT_EQ(has_inner_rectangle(tiling, width, height), inner) << "trial " << trial;
        // Past the tables of coordinates the lines are numbered by sorting.
        boxes scaled = tiling;
        for (square_box& b : scaled) b.x *= 5000, b.y *= 5000, b.side *= 5000;
        ASSERT_EQ(has_inner_rectangle(scaled, width * 5000, height * 5000, work), inner)
            << "trial " << trial;
        simple += v.simple;
    }
    EXPECT_GT(simple, 20);  // not only compound ones
}

// Each square joins the segments of its top and bottom edges; a segment is
// as long as the squares on either side of it (Kirchhoff's law); the
// rotations, where no edges are parallel, trace a plane graph (Euler).
TEST(Net, EverySquareJoinsTheSegmentsOfItsEdges)
{
    std::mt19937 random(11);
    int traced = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const std::int64_t width = 1 + random() % 12, height = 1 + random() % 12;
        const boxes tiling = random_tiling(width, height, random);
        const dissection_net net = net_of(tiling, width, height);
        const std::size_t n = net.nodes.size();
        std::vector<std::int64_t> above(n), below(n);
        for (std::size_t i = 0; i < tiling.size(); ++i) {
            const square_box& s = tiling[i];
            for (const auto& [node, y] : {std::pair{net.top[i], std::int64_t{s.y}},
                                          std::pair{net.bottom[i], std::int64_t{s.y} + s.side}}) {
                const dissection_net::segment& g = net.nodes[static_cast<std::size_t>(node)];
                ASSERT_TRUE(g.y == y && g.left <= s.x && s.x + s.side <= g.right) << trial;
            }
            below[static_cast<std::size_t>(net.top[i])] += s.side;
            above[static_cast<std::size_t>(net.bottom[i])] += s.side;
        }
        std::map<std::pair<int, int>, int> darts;  // dart -> its place in its tail's rotation
        for (std::size_t v = 0; v < n; ++v) {
            const dissection_net::segment& g = net.nodes[v];
            EXPECT_EQ(v > 0 ? above[v] : width, g.right - g.left) << trial;
            EXPECT_EQ(v + 1 < n ? below[v] : width, g.right - g.left) << trial;
            for (std::size_t k = 0; k < net.rotation[v].size(); ++k)
                darts[{static_cast<int>(v), net.rotation[v][k]}] = static_cast<int>(k);
        }
        ASSERT_TRUE(net.nodes.front().right == width && net.nodes.back().y == height &&
                    net.nodes.back().right - net.nodes.back().left == width);
        if (darts.size() != 2 * (tiling.size() + 1)) continue;  // parallel edges
        std::set<std::pair<int, int>> unseen;
        for (const auto& d : darts) unseen.insert(d.first);
        int faces = 0;
        while (!unseen.empty()) {
            ++faces;
            for (auto d = *unseen.begin(); unseen.erase(d) == 1;) {
                const std::vector<int>& around = net.rotation[static_cast<std::size_t>(d.second)];
                const int back = darts[{d.second, d.first}];
                d = {d.second, around[static_cast<std::size_t>(back + 1) % around.size()]};
            }
        }
        EXPECT_EQ(static_cast<int>(n) - static_cast<int>(tiling.size() + 1) + faces, 2) << trial;
        ++traced;
    }
    EXPECT_GT(traced, 40);
}

TEST(Check, NearDissectionsAgreeWithBruteForce)
{
    std::mt19937 random(11);
    check_workspace work;
    for (int trial = 0; trial < 2000; ++trial) {
        const std::int32_t width = 1 + static_cast<std::int32_t>(random() % 9);
        const std::int32_t height = static_cast<std::int32_t>(random() % 10) - 1;
        sides list = skyline_order(random_tiling(width, std::max(height, 1), random), width);
        const std::size_t at = random() % list.size();
        const auto change = random() % 4;  // change, drop or add one side, or none
        if (change == 0) list[at] += static_cast<std::int32_t>(random() % 3) - 1;
        if (change == 1) list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
        if (change == 2) list.push_back(1);
        const square_case c = make_case(width, height, list);
        ASSERT_EQ(check_case(c, work).dissection, dissects_by_force(c)) << "trial " << trial;
    }
}

TEST(Check, SimplePerfectOnesTurnedEveryWay)
{
    for (const square_case& c : {make_case(33, 32, {18, 15, 7, 8, 14, 4, 10, 1, 9}),
                                 make_case(112, 112, {50, 35, 27, 8, 19, 15, 17, 11, 6,  24, 29,
                                                      25, 9,  2,  7, 18, 16, 42, 4,  37, 33})}) {
        for (int way = 0; way < 4; ++way) {
            std::int64_t width = c.width, height = c.height;
            const boxes squares = transformed(boxes_of(c), width, height, way & 1, way & 2);
            const case_verdict v = check_case(case_of(squares, width, height));
            EXPECT_TRUE(v.dissection && v.perfect && v.simple) << c.width << " way " << way;
        }
    }
}

TEST(Check, Verdicts)
{
    const std::pair<square_case, const char*> rows[] = {
        // dissection, perfect, simple, problem
        {make_case(65, 32, {18, 15, 32, 7, 8, 14, 4, 10, 1, 9}), "yes yes no "},
        {make_case(2, 2, {1, 1, 1, 1}), "yes no no "},
        {make_case(3, 3, {3}), "yes yes yes "},
        // 4096 units or more: sides sorted, rectangles sought on runs of edges.
        {make_case(6600, 6400, {3600, 3000, 1400, 1600, 2800, 800, 2000, 200, 1800}),
         "yes yes yes "},
        {make_case(4096, 4096, {2048, 2048, 2048, 2048}), "yes no no "},
        {make_case(4, 3, {1, 1, 2, 1, 3}),
         "no - - square 5 (side 3, column 1) overlaps an earlier square"},
        {make_case(3, 3, {2, 1, 1}), "no - - columns 0 to 2 end short of the bottom edge"},
        {make_case(3, 2, {2, 0, 1, 1}),
         "no - - square 2 (side 0, column 2) has a side of 0 or less"},
        {make_case(3, 1, {3}), "no - - square 1 (side 3, column 0) reaches below the bottom edge"},
        {make_case(4, 4, {2, 3}),
         "no - - square 2 (side 3, column 2) overhangs the right edge: it reaches x = 5 in a "
         "rectangle 4 wide"},
        {make_case(3, 0, {}), "no - - the height is 0; the rectangle is empty"},
    };
    for (const auto& [c, expected] : rows) {
        const case_verdict v = check_case(c);
        const auto answer = [&](bool value) { return v.dissection ? (value ? "yes" : "no") : "-"; };
        EXPECT_EQ(std::string(v.dissection ? "yes " : "no ") + answer(v.perfect) + " " +
                      answer(v.simple) + " " + v.problem,
                  expected);
    }
}

// The code of a tiling as a plain grid scan sees it: row by row from the
// top, left to right, each square where its top-left cell is met.
std::vector<std::int64_t> grid_code(const boxes& squares, std::int64_t width, std::int64_t height)
{
    std::vector<std::int64_t> corner(static_cast<std::size_t>(width * height), 0);
    for (const square_box& s : squares)
        corner[static_cast<std::size_t>(s.y * width + s.x)] = s.side;
    std::vector<std::int64_t> code;
    for (const std::int64_t side : corner)
        if (side > 0) code.push_back(side);
    return code;
}

TEST(Canonical, EveryOrientationAndMultipleGivesTheGreatestCodeInLowestTerms)
{
    std::mt19937 random(5);
    canonical_scratch scratch;
    for (int trial = 0; trial < 400; ++trial) {
        const std::int64_t width = 1 + random() % 12, height = 1 + random() % 12;
        const boxes tiling = random_tiling(width, height, random);
        std::vector<std::int64_t> model;  // order, width, height, sides
        std::string first;
        for (int way = 0; way < 8; ++way) {
            std::int64_t w = width, h = height;
            boxes turned = tiling;
            for (int quarter = 0; quarter < way % 4; ++quarter)
                turned = transformed(turned, w, h, true, false);
            turned = transformed(turned, w, h, false, way >= 4);
            if (w >= h) {
                std::vector<std::int64_t> code = grid_code(turned, w, h);
                code.insert(code.begin(), {static_cast<std::int64_t>(code.size()), w, h});
                if (model.empty() || std::lexicographical_compare(model.begin() + 3, model.end(),
                                                                  code.begin() + 3, code.end()))
                    model = code;
            }
            const std::int32_t k = random() % 2 ? 1 : 2 + static_cast<std::int32_t>(random() % 4);
            square_case c = case_of(turned, w, h);
            c.width *= k;
            c.height *= k;
            for (std::int32_t& side : c.sides) side *= k;
            std::string text, problem;
            ASSERT_TRUE(append_canonical_line(c, scratch, text, problem)) << problem;
            if (way == 0) first = text;
            ASSERT_EQ(text, first) << "trial " << trial << " way " << way;
        }
        std::int64_t divisor = 0;
        for (std::size_t i = 3; i < model.size(); ++i) divisor = std::gcd(divisor, model[i]);
        for (std::size_t i = 1; i < model.size(); ++i) model[i] /= divisor;
        std::string numbers = first;
        for (char& ch : numbers)
            if (ch == '(' || ch == ')' || ch == ',') ch = ' ';
        std::istringstream in(numbers);
        std::vector<std::int64_t> written{std::istream_iterator<std::int64_t>(in), {}};
        ASSERT_EQ(written, model) << first;

        // Read back, with a caption, it is its own canonical code.
        const std::string code =
            first.substr(0, first.size() - 1) + " * trial " + std::to_string(trial);
        const std::string line = code + " \t\r\n";
        catalogue_reader reader(line, 1, 1);
        square_case again;
        catalogue_position where;
        ASSERT_TRUE(reader.next(again, where));
        std::string text, problem;
        ASSERT_TRUE(append_canonical_line(again, scratch, text, problem)) << problem;
        EXPECT_EQ(text, code + "\n");
    }
}

}  // namespace
