// The check of catalogue-sized cases: random dissections of 20 to 50
// squares, tens to hundreds of units wide (compound, as random ones are),
// and simple perfect ones, whose search for a rectangle inside goes all
// the way.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "analysis/case_check.h"
#include "test_cases.h"

namespace {

// A random dissection, its sides in the order they are placed: each square
// fills the left-most run of lowest columns from its left end, as wide as
// the run allows or narrower. Empty when the count is out of range.
square_case random_dissection(std::mt19937& random, int least, int most)
{
    square_case c;
    c.width = 20 + static_cast<std::int32_t>(random() % 140);
    c.height =
        std::max<std::int32_t>(10, c.width * (6 + static_cast<std::int32_t>(random() % 9)) / 10);
    std::vector<std::int32_t> depth(static_cast<std::size_t>(c.width), 0);
    for (;;) {
        const auto at = std::min_element(depth.begin(), depth.end());
        if (*at == c.height) break;
        auto end = at;
        while (end != depth.end() && *end == *at) ++end;
        const auto room =
            static_cast<std::int32_t>(std::min<std::ptrdiff_t>(end - at, c.height - *at));
        std::int32_t side = room;
        if (random() % 3 != 0)
            side = std::max(1, room / 3 + static_cast<std::int32_t>(random() % room));
        side = std::min(side, room);
        c.sides.push_back(side);
        std::fill(at, at + side, *at + side);
        if (static_cast<int>(c.sides.size()) > most) return {};
    }
    if (static_cast<int>(c.sides.size()) < least) return {};
    c.count = static_cast<std::int32_t>(c.sides.size());
    return c;
}

// 1000 cases of 20 to 50 squares: compound ones, mostly, as random ones are.
std::vector<square_case> catalogue()
{
    std::mt19937 random(2026);
    std::vector<square_case> cases;
    while (cases.size() < 1000) {
        square_case c = random_dissection(random, 20, 50);
        if (!c.sides.empty()) cases.push_back(std::move(c));
    }
    return cases;
}

// Simple perfect ones, each turned every way: the search for a rectangle
// inside goes all the way.
std::vector<square_case> simple_ones()
{
    return {
        make_case(33, 32, {18, 15, 7, 8, 14, 4, 10, 1, 9}),
        make_case(32, 33, {14, 18, 10, 4, 7, 15, 9, 1, 8}),
        make_case(33, 32, {15, 18, 8, 7, 4, 14, 1, 10, 9}),
        make_case(32, 33, {18, 14, 4, 10, 15, 7, 1, 9, 8}),
        make_case(112, 112,
                  {50, 35, 27, 8, 19, 15, 17, 11, 6, 24, 29, 25, 9, 2, 7, 18, 16, 42, 4, 37, 33}),
        make_case(112, 112,
                  {33, 29, 50, 4, 25, 37, 15, 35, 16, 9, 7, 2, 17, 42, 18, 6, 11, 8, 27, 24, 19}),
        make_case(112, 112,
                  {27, 35, 50, 19, 8, 11, 17, 15, 24, 6, 2, 9, 25, 29, 18, 7, 16, 42, 37, 4, 33}),
        make_case(112, 112,
                  {50, 29, 33, 25, 4, 37, 35, 15, 9, 16, 2, 7, 17, 18, 42, 11, 6, 27, 8, 24, 19}),
    };
}

void BM_CheckCatalogue(benchmark::State& state)
{
    const std::vector<square_case> cases = state.range(0) == 1 ? simple_ones() : catalogue();
    check_workspace work;
    std::size_t squares = 0;
    for (const square_case& c : cases) squares += c.sides.size();
    for (auto _ : state) {
        for (const square_case& c : cases) benchmark::DoNotOptimize(check_case(c, work));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * cases.size()));
    state.counters["squares_per_case"] =
        static_cast<double>(squares) / static_cast<double>(cases.size());
}
BENCHMARK(BM_CheckCatalogue)->ArgName("simple")->Arg(0)->Arg(1);

// The same cases with a workspace made afresh for each.
void BM_CheckCatalogueFresh(benchmark::State& state)
{
    const std::vector<square_case> cases = catalogue();
    for (auto _ : state) {
        for (const square_case& c : cases) benchmark::DoNotOptimize(check_case(c));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * cases.size()));
}
BENCHMARK(BM_CheckCatalogueFresh);

}  // namespace
