// The compound imperfect rectangles of the levels against a brute force
// that tiles every box square by square, judged by the check alone.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numeric>
#include <set>

#include "analysis/case_check.h"
#include "enumeration/imperfect_levels.h"

namespace {

// A squared rectangle's sides in lowest terms are at most the spanning
// trees of its network less the battery (n edges), so at most C(n, n/2).
int side_bound(int n)
{
    int c = 1;
    for (int i = 1; i <= n / 2; ++i) c = c * (n - i + 1) / i;
    return c;
}

// Every dissection of a width x height box into exactly `left` more
// squares, each put at the top-most, left-most free cell: the sides in the
// order the check places them.
void tile(std::vector<int>& depth, int height, int left, std::vector<std::int32_t>& sides,
          const std::function<void()>& found)
{
    const int width = static_cast<int>(depth.size());
    int x = 0;
    for (int i = 1; i < width; ++i)
        if (depth[i] < depth[x]) x = i;
    if (depth[x] == height) {
        if (left == 0) found();
        return;
    }
    // Each run of the skyline short of the bottom with a wall or a deeper
    // column to its left takes a square with its corner there.
    int runs = 0;
    for (int i = 0; i < width; ++i)
        if (depth[i] < height && (i == 0 || depth[i] < depth[i - 1])) ++runs;
    if (runs > left) return;
    int run = 0;
    while (x + run < width && depth[x + run] == depth[x]) ++run;
    for (int s = 1; s <= std::min(run, height - depth[x]); ++s) {
        for (int i = x; i < x + s; ++i) depth[i] += s;
        sides.push_back(s);
        tile(depth, height, left - 1, sides, found);
        sides.pop_back();
        for (int i = x; i < x + s; ++i) depth[i] -= s;
    }
}

TEST(ImperfectCompound, TheLevelsMakeWhatABruteForceTilingOfEveryBoxFinds)
{
    constexpr int highest = 7;
    any_levels levels;
    canonical_scratch scratch;
    for (int n = 1; n <= highest; ++n) {
        const order_codes made = make_any_order(n, levels, true, 2);
        // Code -> trivially compound, of each way.
        std::map<std::string, bool> tool;
        for (const std::string& code : made.trivial) tool[code] = true;
        for (const std::string& code : made.nontrivial) tool[code] = false;
        std::map<std::string, bool> brute;
        std::set<std::string> every;
        std::set<std::string> simple_imperfect;
        for (int w = 1; w <= side_bound(n); ++w) {
            for (int h = 1; h <= w; ++h) {
                std::vector<int> depth(static_cast<std::size_t>(w), 0);
                std::vector<std::int32_t> sides;
                tile(depth, h, n, sides, [&] {
                    std::int32_t g = 0;
                    for (const std::int32_t s : sides) g = std::gcd(g, s);
                    if (g != 1) return;
                    square_case c;
                    c.count = n;
                    c.width = w;
                    c.height = h;
                    c.sides = sides;
                    c.sides_given = n;
                    const case_verdict v = check_case(c);
                    ASSERT_TRUE(v.dissection);
                    std::string code;
                    std::string problem;
                    ASSERT_TRUE(append_canonical_line(c, scratch, code, problem)) << problem;
                    code.pop_back();
                    every.insert(code);
                    if (v.simple && !v.perfect) simple_imperfect.insert(code);
                    if (!v.simple && !v.perfect) brute[code] = v.trivially_compound;
                });
            }
        }
        for (const auto& t : tool)
            EXPECT_EQ(brute.count(t.first) ? brute[t.first] : !t.second, t.second) << t.first;
        for (const auto& b : brute) EXPECT_EQ(tool.count(b.first), 1u) << b.first;
        EXPECT_EQ(std::set<std::string>(made.simple.begin(), made.simple.end()), simple_imperfect)
            << "order " << n;
        // Every squared rectangle of the order is held as a piece, once.
        EXPECT_EQ(levels.of_order[static_cast<std::size_t>(n)].size(), every.size())
            << "order " << n;
    }
}

}  // namespace
