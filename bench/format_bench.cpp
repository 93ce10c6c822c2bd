// Formatting: the number formats and whole square blocks into a document
// whose bytes go nowhere.
#include <benchmark/benchmark.h>

#include "document/document.h"
#include "document/number_format.h"
#include "document/skal.h"
#include "files/system_file_system.h"
#include "document/square_block.h"

namespace {

// The system's file operations, but for the drawing's own, which write
// nowhere: the benchmarks time the formatting alone.
class null_files : public system_file_system {
public:
    std::string find_target(const std::string& path, links, target& found) override
    {
        found.path = path;
        return {};
    }
    std::string create_unnamed(const std::string&, int&) override { return "not here"; }
    std::string create_new(const std::string&, int, int& handle) override
    {
        handle = 3;
        return {};
    }
    std::string write(int, const char*, std::size_t size) override
    {
        benchmark::DoNotOptimize(size);
        return {};
    }
    std::string close(int) override { return {}; }
    std::string replace(const std::string&, const std::string&) override { return {}; }
    void remove(const std::string&) override {}
};

void BM_PutFixed(benchmark::State& state)
{
    char text[longest_fixed];
    double value = 4.545454;
    for (auto _ : state) {
        benchmark::DoNotOptimize(put_fixed(text, value));
        value += 0.001;
    }
}
BENCHMARK(BM_PutFixed);

void BM_PutInteger(benchmark::State& state)
{
    char text[32];
    std::int64_t value = 123456;
    for (auto _ : state) {
        benchmark::DoNotOptimize(put_integer(text, value));
        ++value;
    }
}
BENCHMARK(BM_PutInteger);

void BM_Skal(benchmark::State& state)
{
    std::int32_t side = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(skal(side, 1000));
        side = side % 999 + 1;
    }
}
BENCHMARK(BM_Skal);

// Square blocks with sides cycling through `range(0)` values.
void BM_SquareBlock(benchmark::State& state)
{
    null_files files;
    document doc = open_document(files);
    const auto kinds = static_cast<std::int32_t>(state.range(0));
    std::int64_t i = 0;
    for (auto _ : state) {
        const auto side = static_cast<std::int32_t>(1 + i % kinds);
        write_square_block(doc, placement{i % 1000, 1000 - i / 1000, side}, 1000);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SquareBlock)->Arg(1)->Arg(3)->Arg(500);

}  // namespace
