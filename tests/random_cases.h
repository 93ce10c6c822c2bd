// Random well-formed cases, placed as they are made by a plain model of
// the skyline, for the property tests of the drawings.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "squares.h"

// The skyline as a list of runs of equal depth, searched and raised by
// walking the whole list: slow and plain.
struct run_model {
    struct run {
        std::int64_t length;
        std::int64_t depth;
    };
    std::vector<run> runs;

    explicit run_model(std::int64_t width) : runs{{width, 0}} {}

    std::pair<std::int64_t, std::int64_t> lowest() const  // column, depth
    {
        std::int64_t column = 0;
        std::int64_t best_column = 0;
        std::int64_t best_depth = runs[0].depth;
        for (const run& r : runs) {
            if (r.depth < best_depth) {
                best_depth = r.depth;
                best_column = column;
            }
            column += r.length;
        }
        return {best_column, best_depth};
    }

    std::int64_t deepest_under(std::int64_t from, std::int64_t to) const
    {
        std::int64_t column = 0;
        std::int64_t deepest = std::numeric_limits<std::int64_t>::min();
        for (const run& r : runs) {
            if (column < to && column + r.length > from) deepest = std::max(deepest, r.depth);
            column += r.length;
        }
        return deepest;
    }

    void raise(std::int64_t from, std::int64_t to, std::int64_t amount)
    {
        std::vector<run> next;
        std::int64_t column = 0;
        for (const run& r : runs) {
            const std::int64_t end = column + r.length;
            // Up to three pieces: before the range, inside it, after it.
            const std::int64_t cuts[4] = {column, std::clamp(from, column, end),
                                          std::clamp(to, column, end), end};
            for (int k = 0; k < 3; ++k) {
                if (cuts[k + 1] > cuts[k])
                    next.push_back({cuts[k + 1] - cuts[k], r.depth + (k == 1 ? amount : 0)});
            }
            column = end;
        }
        runs = next;
    }
};

struct expected_square {
    std::int64_t column;
    std::int64_t top;
    std::int32_t side;
    bool uneven;  // the columns under it differ in depth
};

struct random_case {
    square_case c;
    std::vector<expected_square> squares;
};

// A case whose squares all fit the width and keep every coordinate and
// depth well inside 32 bits; the model places them as it goes.
inline random_case make_random_case(std::mt19937_64& random)
{
    random_case result;
    square_case& c = result.c;
    const int shape = static_cast<int>(random() % 3);
    c.width = shape == 0   ? 1 + static_cast<std::int32_t>(random() % 12)
              : shape == 1 ? 1 + static_cast<std::int32_t>(random() % 200)
                           : 1 + static_cast<std::int32_t>(random() % 2147483647);
    c.height = static_cast<std::int32_t>(random() % 2001) - 1000;
    if (random() % 4 == 0) c.height = static_cast<std::int32_t>(random() % (1u << 30)) - (1 << 29);
    const int count = static_cast<int>(random() % 40);
    run_model model(c.width);
    for (int i = 0; i < count; ++i) {
        const auto [column, depth] = model.lowest();
        const std::int64_t room = c.width - column;
        std::int64_t side =
            1 + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(room));
        if (random() % 3 == 0) side = std::min<std::int64_t>(side, 1 + random() % 3);
        if (random() % 10 == 0) side = -static_cast<std::int64_t>(random() % 1000);
        if (random() % 40 == 0) side = -static_cast<std::int64_t>(random() % 2147483649u);
        if (random() % 10 == 0) side = 0;
        if (side > 0 && model.deepest_under(column, column + side) + side > (std::int64_t{1} << 30))
            side = 0;
        if (c.height - depth - side > std::numeric_limits<std::int32_t>::max()) side = 0;
        c.sides.push_back(static_cast<std::int32_t>(side));
        const bool uneven = side > 0 && model.deepest_under(column, column + side) != depth;
        result.squares.push_back(
            {column, c.height - depth, static_cast<std::int32_t>(side), uneven});
        if (side > 0) model.raise(column, column + side, side);
    }
    c.count = static_cast<std::int32_t>(c.sides.size());
    return result;
}
