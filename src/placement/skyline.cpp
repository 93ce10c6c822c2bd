#include "placement/skyline.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

using run = skyline::run;

constexpr std::int64_t depth_limit = std::numeric_limits<std::int32_t>::max();

std::uint32_t next_priority(skyline& sky)
{
    // xorshift32: cheap, and a fixed seed keeps runs repeatable.
    std::uint32_t x = sky.random_state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    sky.random_state = x;
    return x;
}

std::int32_t new_run(skyline& sky, std::int32_t length, std::int32_t depth)
{
    run r;
    r.priority = next_priority(sky);
    r.length = length;
    r.span = length;
    r.depth = depth;
    r.lowest = depth;
    r.highest = depth;
    sky.runs.push_back(r);
    return static_cast<std::int32_t>(sky.runs.size() - 1);
}

void add_depth(skyline& sky, std::int32_t t, std::int32_t amount)
{
    if (t < 0) return;
    run& r = sky.runs[t];
    r.depth += amount;
    r.lowest += amount;
    r.highest += amount;
    r.owed += amount;
}

void pay_owed(skyline& sky, std::int32_t t)
{
    const std::int32_t amount = sky.runs[t].owed;
    if (amount == 0) return;
    add_depth(sky, sky.runs[t].left, amount);
    add_depth(sky, sky.runs[t].right, amount);
    sky.runs[t].owed = 0;
}

std::int32_t span_of(const skyline& sky, std::int32_t t) { return t < 0 ? 0 : sky.runs[t].span; }

void update(skyline& sky, std::int32_t t)
{
    run& r = sky.runs[t];
    r.span = r.length;
    r.lowest = r.depth;
    r.highest = r.depth;
    for (const std::int32_t child : {r.left, r.right}) {
        if (child < 0) continue;
        const run& c = sky.runs[child];
        r.span += c.span;
        r.lowest = std::min(r.lowest, c.lowest);
        r.highest = std::max(r.highest, c.highest);
    }
}

std::int32_t merge(skyline& sky, std::int32_t a, std::int32_t b)
{
    if (a < 0) return b;
    if (b < 0) return a;
    if (sky.runs[a].priority > sky.runs[b].priority) {
        pay_owed(sky, a);
        const std::int32_t right = merge(sky, sky.runs[a].right, b);
        sky.runs[a].right = right;
        update(sky, a);
        return a;
    }
    pay_owed(sky, b);
    const std::int32_t left = merge(sky, a, sky.runs[b].left);
    sky.runs[b].left = left;
    update(sky, b);
    return b;
}

// Splits the tree into its first `columns` columns and the rest, cutting a
// run in two where the boundary falls inside it.
std::pair<std::int32_t, std::int32_t> split(skyline& sky, std::int32_t t, std::int64_t columns)
{
    if (t < 0) return {-1, -1};
    pay_owed(sky, t);
    const std::int64_t before = span_of(sky, sky.runs[t].left);
    const std::int64_t through = before + sky.runs[t].length;
    if (columns <= before) {
        const auto [a, b] = split(sky, sky.runs[t].left, columns);
        sky.runs[t].left = b;
        update(sky, t);
        return {a, t};
    }
    if (columns >= through) {
        const auto [a, b] = split(sky, sky.runs[t].right, columns - through);
        sky.runs[t].right = a;
        update(sky, t);
        return {t, b};
    }
    const auto kept = static_cast<std::int32_t>(columns - before);
    const std::int32_t cut_off = new_run(sky, sky.runs[t].length - kept, sky.runs[t].depth);
    const std::int32_t right = sky.runs[t].right;
    sky.runs[t].length = kept;
    sky.runs[t].right = -1;
    update(sky, t);
    return {t, merge(sky, cut_off, right)};
}

void collect_spans(const skyline& sky, std::int32_t t, std::int64_t owed,
                   std::vector<column_span>& spans)
{
    if (t < 0) return;
    const run& r = sky.runs[t];
    collect_spans(sky, r.left, owed + r.owed, spans);
    const auto depth = static_cast<std::int32_t>(r.depth + owed);
    if (!spans.empty() && spans.back().depth == depth) {
        spans.back().length += r.length;
    } else {
        const std::int64_t first = spans.empty() ? 0 : spans.back().first + spans.back().length;
        spans.push_back({first, r.length, depth});
    }
    collect_spans(sky, r.right, owed + r.owed, spans);
}

}  // namespace

skyline make_skyline(std::int32_t width)
{
    skyline sky;
    sky.root = new_run(sky, width, 0);
    return sky;
}

std::int32_t lowest_depth(const skyline& sky) { return sky.runs[sky.root].lowest; }

std::int64_t lowest_column(const skyline& sky)
{
    const std::int64_t target = lowest_depth(sky);
    std::int64_t owed = 0;  // what the ancestors of `t` still owe it
    std::int64_t column = 0;
    std::int32_t t = sky.root;
    for (;;) {
        const run& r = sky.runs[t];
        const std::int64_t owed_below = owed + r.owed;
        if (r.left >= 0 && sky.runs[r.left].lowest + owed_below == target) {
            t = r.left;
        } else if (r.depth + owed == target) {
            return column + span_of(sky, r.left);
        } else {
            column += span_of(sky, r.left) + r.length;
            t = r.right;
        }
        owed = owed_below;
    }
}

ground raise_columns(skyline& sky, const placement& square)
{
    const auto [before, rest] = split(sky, sky.root, square.column);
    const auto [under, after] = split(sky, rest, square.side);
    const ground g{sky.runs[under].lowest, sky.runs[under].highest};
    if (g.highest + std::int64_t{square.side} <= depth_limit) add_depth(sky, under, square.side);
    sky.root = merge(sky, merge(sky, before, under), after);
    return g;
}

std::vector<column_span> column_spans(const skyline& sky)
{
    std::vector<column_span> spans;
    collect_spans(sky, sky.root, 0, spans);
    return spans;
}
