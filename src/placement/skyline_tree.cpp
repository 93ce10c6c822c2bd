#include "placement/skyline_tree.h"

#include <algorithm>
#include <limits>

namespace {

using node = skyline::node;

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

}  // namespace

ground raise_in_tree(skyline& sky, std::int64_t from, std::int64_t to, std::int32_t amount)
{
    raise r{
        from, to, amount,
        ground{std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()}};
    raise_range(sky, 0, 0, sky.width, r);
    return r.under;
}

std::int64_t lowest_column_in_tree(const skyline& sky)
{
    std::int64_t first = 0;
    std::int64_t last = sky.width;
    std::int64_t owed = 0;  // what the ancestors of `t` still owe it
    const std::int64_t target = sky.nodes[0].lowest;
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

void tree_spans(const skyline& sky, std::vector<column_span>& spans)
{
    collect_spans(sky, 0, 0, sky.width, 0, spans);
}
