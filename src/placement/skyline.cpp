#include "placement/skyline.h"

#include <algorithm>
#include <limits>

namespace {

using node = skyline::node;

constexpr std::int64_t depth_limit = std::numeric_limits<std::int32_t>::max();

using run = skyline::run;

std::int64_t run_end(const skyline& sky, std::size_t i)
{
    return i + 1 < sky.runs.size() ? sky.runs[i + 1].first : sky.width;
}

void find_lowest_run(skyline& sky)
{
    const run* runs = sky.runs.data();
    const std::size_t count = sky.runs.size();
    std::size_t best = 0;
    std::int32_t least = runs[0].depth;
    // Without branches: which run is lower is a coin toss to the processor.
    for (std::size_t i = 1; i < count; ++i) {
        const bool lower = runs[i].depth < least;
        best = lower ? i : best;
        least = lower ? runs[i].depth : least;
    }
    sky.lowest_run = best;
}

// The run that holds the column: most often the lowest one, where squares go.
std::size_t run_at(const skyline& sky, std::int64_t column)
{
    const std::size_t lowest = sky.lowest_run;
    if (sky.runs[lowest].first <= column && column < run_end(sky, lowest)) return lowest;
    const auto after = std::upper_bound(sky.runs.begin(), sky.runs.end(), column,
                                        [](std::int64_t c, const run& r) { return c < r.first; });
    return static_cast<std::size_t>(after - sky.runs.begin()) - 1;
}

// The tree of the columns the runs give.
void make_tree(skyline& sky)
{
    sky.tree = true;
    for (std::size_t i = 0; i < sky.runs.size(); ++i) {
        if (sky.runs[i].depth != 0)
            raise_in_tree(sky, sky.runs[i].first, run_end(sky, i), sky.runs[i].depth);
    }
    sky.runs.clear();
}

// Puts a run at `at`, moving those after it along.
void insert_run(std::vector<run>& runs, std::size_t at, run r)
{
    runs.push_back(r);
    std::copy_backward(runs.begin() + static_cast<std::ptrdiff_t>(at), runs.end() - 1, runs.end());
    runs[at] = r;
}

void erase_run(std::vector<run>& runs, std::size_t at)
{
    std::copy(runs.begin() + static_cast<std::ptrdiff_t>(at + 1), runs.end(),
              runs.begin() + static_cast<std::ptrdiff_t>(at));
    runs.pop_back();
}

ground raise_runs(skyline& sky, std::int64_t from, std::int64_t to, std::int32_t amount)
{
    std::vector<run>& runs = sky.runs;
    std::size_t first = run_at(sky, from);
    std::size_t last = first;
    ground under{runs[first].depth, runs[first].depth};
    while (last + 1 < runs.size() && runs[last + 1].first < to) {
        ++last;
        under.lowest = std::min(under.lowest, runs[last].depth);
        under.highest = std::max(under.highest, runs[last].depth);
    }
    if (under.highest + std::int64_t{amount} > depth_limit) return under;
    // Split the end runs where the square's edges cut them.
    if (runs[first].first < from) {
        insert_run(runs, first + 1, run{static_cast<std::int32_t>(from), runs[first].depth});
        ++first;
        ++last;
    }
    if (run_end(sky, last) > to) {
        insert_run(runs, last + 1, run{static_cast<std::int32_t>(to), runs[last].depth});
    }
    for (std::size_t i = first; i <= last; ++i) runs[i].depth += amount;
    // The raised runs still differ among themselves; only their outer
    // neighbours may now match them.
    if (last + 1 < runs.size() && runs[last + 1].depth == runs[last].depth) {
        erase_run(runs, last + 1);
    }
    if (first > 0 && runs[first - 1].depth == runs[first].depth) erase_run(runs, first);
    find_lowest_run(sky);
    if (runs.size() > sky.most_runs) make_tree(sky);
    return under;
}

}  // namespace

skyline make_skyline(std::int32_t width, std::size_t most_runs)
{
    skyline sky;
    reset_skyline(sky, width, most_runs);
    return sky;
}

void reset_skyline(skyline& sky, std::int32_t width, std::size_t most_runs)
{
    sky.width = width;
    sky.most_runs = most_runs;
    sky.tree = most_runs == 0;
    sky.runs.clear();
    sky.lowest_run = 0;
    if (!sky.tree) {
        // A raise adds at most two runs before the list turns into a tree.
        if (sky.runs.capacity() == 0 && most_runs <= 4096) sky.runs.reserve(most_runs + 2);
        sky.runs.push_back(run{0, 0});
    }
    sky.nodes.assign(1, node{});
    sky.unused.clear();
    sky.buckets.clear();
    sky.unused_buckets.clear();
}

ground raise_columns(skyline& sky, const placement& square)
{
    const std::int64_t to = square.column + square.side;
    if (!sky.tree) return raise_runs(sky, square.column, to, square.side);
    if (sky.nodes[0].highest + std::int64_t{square.side} > depth_limit) {
        // Some column could pass the limit: look first (a raise by 0), and
        // leave the skyline as it is if one under the square would.
        const ground look = raise_in_tree(sky, square.column, to, 0);
        if (look.highest + std::int64_t{square.side} > depth_limit) return look;
    }
    return raise_in_tree(sky, square.column, to, square.side);
}

std::vector<column_span> column_spans(const skyline& sky)
{
    std::vector<column_span> spans;
    if (!sky.tree) {
        for (std::size_t i = 0; i < sky.runs.size(); ++i) {
            const std::int64_t first = sky.runs[i].first;
            spans.push_back({first, run_end(sky, i) - first, sky.runs[i].depth});
        }
        return spans;
    }
    tree_spans(sky, spans);
    return spans;
}
