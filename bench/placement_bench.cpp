// The square loop's placement alone, on the shapes of the standard workloads.
#include <benchmark/benchmark.h>

#include <vector>

#include "placement/place_squares.h"
#include "placement/skyline.h"

namespace {

void place_all(benchmark::State& state, std::int32_t width, const std::vector<std::int32_t>& sides)
{
    for (auto _ : state) {
        skyline sky = make_skyline(width);
        for (const std::int32_t side : sides) {
            const placement p = place_square(sky, side, 0);
            if (side > 0) benchmark::DoNotOptimize(raise_columns(sky, p));
        }
        benchmark::DoNotOptimize(sky.nodes.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * sides.size()));
}

// Rows of unit squares across a width of 1000.
void BM_PlaceGrid(benchmark::State& state)
{
    place_all(state, 1000, std::vector<std::int32_t>(100000, 1));
}
BENCHMARK(BM_PlaceGrid);

// Pairs (1, 2) across the width, then ones in the gaps: a skyline of
// thousands of steps.
void BM_PlaceJagged(benchmark::State& state)
{
    const auto width = static_cast<std::int32_t>(state.range(0));
    std::vector<std::int32_t> sides;
    for (int band = 0; band < 4; ++band) {
        for (int i = 0; i < width / 3; ++i) sides.insert(sides.end(), {1, 2});
        sides.insert(sides.end(), static_cast<std::size_t>(width / 3), 1);
    }
    place_all(state, width / 3 * 3, sides);
}
BENCHMARK(BM_PlaceJagged)->Arg(3000)->Arg(30000);

// One row of wide squares in a rectangle two billion units wide.
void BM_PlaceWide(benchmark::State& state)
{
    place_all(state, 2000000000, std::vector<std::int32_t>(2000, 1000000));
}
BENCHMARK(BM_PlaceWide);

}  // namespace
