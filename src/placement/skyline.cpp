#include "placement/skyline.h"

#include <algorithm>
#include <limits>

namespace {

using node = skyline::node;

constexpr std::int64_t depth_limit = std::numeric_limits<std::int32_t>::max();

void add_depth(node& n, std::int32_t amount)
{
    n.lowest += amount;
    n.highest += amount;
    n.owed += amount;
}

// Children for a node whose columns all share one depth.
std::int32_t make_children(skyline& sky, std::int32_t depth)
{
    const node child{depth, depth, 0, -1};
    if (!sky.unused.empty()) {
        const std::int32_t pair = sky.unused.back();
        sky.unused.pop_back();
        sky.nodes[pair] = child;
        sky.nodes[pair + 1] = child;
        return pair;
    }
    sky.nodes.push_back(child);
    sky.nodes.push_back(child);
    return static_cast<std::int32_t>(sky.nodes.size() - 2);
}

std::int32_t bucket_of(const node& n)
{
    return -2 - n.children;
}

// Gives up the children or bucket of `t` and everything below them.
void drop_children(skyline& sky, std::int32_t t)
{
    const std::int32_t pair = sky.nodes[t].children;
    if (pair == -1) return;
    if (pair < -1) {
        sky.unused_buckets.push_back(bucket_of(sky.nodes[t]));
    } else {
        drop_children(sky, pair);
        drop_children(sky, pair + 1);
        sky.unused.push_back(pair);
    }
    sky.nodes[t].children = -1;
}

void pay_owed(skyline& sky, node& n)
{
    if (n.owed == 0) return;
    add_depth(sky.nodes[n.children], n.owed);
    add_depth(sky.nodes[n.children + 1], n.owed);
    n.owed = 0;
}

// A raise of the columns from `from` up to `to` by `amount`; `under`
// gathers the depths they had.
struct raise {
    std::int64_t from;
    std::int64_t to;
    std::int32_t amount;
    ground under;
};

// Gives node `t` children to pass the raise on to, paying what it owes them.
std::int32_t open_node(skyline& sky, std::int32_t t)
{
    node& n = sky.nodes[t];
    if (n.children >= 0) {
        pay_owed(sky, n);
        return n.children;
    }
    const std::int32_t pair = make_children(sky, n.lowest);
    // `n` may have moved with the vector.
    sky.nodes[t].children = pair;
    sky.nodes[t].owed = 0;
    return pair;
}

// Takes the depths of node `t` from its children, giving them up once they agree.
void refresh(skyline& sky, std::int32_t t)
{
    node& n = sky.nodes[t];
    const node& left = sky.nodes[n.children];
    const node& right = sky.nodes[n.children + 1];
    n.lowest = std::min(left.lowest, right.lowest);
    n.highest = std::max(left.highest, right.highest);
    if (n.lowest == n.highest) drop_children(sky, t);
}

// Applies the raise to node `t`, a node of at most `bucket_columns` columns
// from `first` up to `last`, through its bucket.
void raise_bucket(skyline& sky, std::int32_t t, std::int64_t first, std::int64_t last, raise& r)
{
    node& n = sky.nodes[t];
    if (n.children == -1) {
        std::int32_t b;
        if (sky.unused_buckets.empty()) {
            b = static_cast<std::int32_t>(sky.buckets.size());
            sky.buckets.emplace_back();
        } else {
            b = sky.unused_buckets.back();
            sky.unused_buckets.pop_back();
        }
        sky.buckets[b].fill(n.lowest);
        n.children = -2 - b;
        n.owed = 0;
    }
    std::int32_t* depths = sky.buckets[bucket_of(n)].data();
    const auto columns = static_cast<int>(last - first);
    const auto from = static_cast<int>(std::max(r.from, first) - first);
    const auto to = static_cast<int>(std::min(r.to, last) - first);
    for (int i = 0; i < columns; ++i) depths[i] += n.owed;
    n.owed = 0;
    for (int i = from; i < to; ++i) {
        r.under.lowest = std::min(r.under.lowest, depths[i]);
        r.under.highest = std::max(r.under.highest, depths[i]);
        depths[i] += r.amount;
    }
    n.lowest = *std::min_element(depths, depths + columns);
    n.highest = *std::max_element(depths, depths + columns);
    if (n.lowest == n.highest) drop_children(sky, t);
}

// Applies the raise to node `t`, which covers the columns `first` up to
// `last`. The way down to where the raised columns part between two
// children is walked without recursion: it is most of the work.
void raise_range(skyline& sky, std::int32_t t, std::int64_t first, std::int64_t last, raise& r)
{
    std::int32_t path[64];
    int length = 0;
    for (;;) {
        node& n = sky.nodes[t];
        if (r.from <= first && last <= r.to) {
            r.under.lowest = std::min(r.under.lowest, n.lowest);
            r.under.highest = std::max(r.under.highest, n.highest);
            add_depth(n, r.amount);
            break;
        }
        if (last - first <= skyline::bucket_columns) {
            raise_bucket(sky, t, first, last, r);
            break;
        }
        const std::int32_t pair = open_node(sky, t);
        path[length++] = t;
        const std::int64_t middle = first + (last - first) / 2;
        if (r.to <= middle) {
            t = pair;
            last = middle;
        } else if (r.from >= middle) {
            t = pair + 1;
            first = middle;
        } else {
            raise_range(sky, pair, first, middle, r);
            raise_range(sky, pair + 1, middle, last, r);
            break;
        }
    }
    while (length > 0) refresh(sky, path[--length]);
}

void collect_spans(const skyline& sky, std::int32_t t, std::int64_t first, std::int64_t last,
                   std::int64_t owed, std::vector<column_span>& spans)
{
    const node& n = sky.nodes[t];
    const auto add_span = [&spans](std::int64_t column, std::int64_t length, std::int64_t depth) {
        if (!spans.empty() && spans.back().depth == depth) {
            spans.back().length += length;
        } else {
            spans.push_back({column, length, static_cast<std::int32_t>(depth)});
        }
    };
    if (n.children == -1) {
        add_span(first, last - first, n.lowest + owed);
        return;
    }
    if (n.children < -1) {
        const std::int32_t* depths = sky.buckets[bucket_of(n)].data();
        for (std::int64_t i = 0; i < last - first; ++i)
            add_span(first + i, 1, depths[i] + owed + n.owed);
        return;
    }
    const std::int64_t middle = first + (last - first) / 2;
    collect_spans(sky, n.children, first, middle, owed + n.owed, spans);
    collect_spans(sky, n.children + 1, middle, last, owed + n.owed, spans);
}

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
        raise r{sky.runs[i].first, run_end(sky, i), sky.runs[i].depth, ground{}};
        if (r.amount != 0) raise_range(sky, 0, 0, sky.width, r);
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

std::int64_t lowest_column_in_tree(const skyline& sky)
{
    std::int64_t first = 0;
    std::int64_t last = sky.width;
    std::int64_t owed = 0;  // what the ancestors of `t` still owe it
    const std::int64_t target = lowest_depth(sky);
    std::int32_t t = 0;
    for (;;) {
        if (sky.nodes[t].children == -1) return first;
        if (sky.nodes[t].children < -1) {
            const node& n = sky.nodes[t];
            const std::int32_t* depths = sky.buckets[bucket_of(n)].data();
            int i = 0;
            while (depths[i] + owed + n.owed != target) ++i;
            return first + i;
        }
        const node& n = sky.nodes[t];
        owed += n.owed;
        const std::int64_t middle = first + (last - first) / 2;
        if (sky.nodes[n.children].lowest + owed == target) {
            t = n.children;
            last = middle;
        } else {
            t = n.children + 1;
            first = middle;
        }
    }
}

ground raise_columns(skyline& sky, const placement& square)
{
    const ground nothing{std::numeric_limits<std::int32_t>::max(),
                         std::numeric_limits<std::int32_t>::min()};
    const std::int64_t to = square.column + square.side;
    if (!sky.tree) return raise_runs(sky, square.column, to, square.side);
    if (sky.nodes[0].highest + std::int64_t{square.side} > depth_limit) {
        // Some column could pass the limit: look first (a raise by 0), and
        // leave the skyline as it is if one under the square would.
        raise look{square.column, to, 0, nothing};
        raise_range(sky, 0, 0, sky.width, look);
        if (look.under.highest + std::int64_t{square.side} > depth_limit) return look.under;
    }
    raise r{square.column, to, square.side, nothing};
    raise_range(sky, 0, 0, sky.width, r);
    return r.under;
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
    collect_spans(sky, 0, 0, sky.width, 0, spans);
    return spans;
}
