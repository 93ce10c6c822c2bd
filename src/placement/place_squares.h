// The square loop: each square goes to the left-most column of least depth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "placement/skyline.h"
#include "squares.h"

// One square as the loop places it.
struct placed_square {
    std::size_t number = 0;  // position in the list, from 1
    placement where;
    ground under;  // the depths of the columns under it before the raise
};

// A square that cannot be placed: it would overhang the right edge or
// leave the 32-bit range.
struct placement_error : conversion_error {
    using conversion_error::conversion_error;
};

// Whatever takes the squares as the loop places them: a picture, the
// tiling report, the check.
class placement_reader {
public:
    virtual ~placement_reader() = default;
    virtual void take(const placed_square& square) = 0;
    // After the last square, with the columns as they end.
    virtual void finish(const skyline& sky) = 0;
};

// Where the next square of this side goes; the skyline is not changed.
inline placement place_square(const skyline& sky, std::int32_t side, std::int32_t height)
{
    return placement{lowest_column(sky), std::int64_t{height} - lowest_depth(sky), side};
}

// Places every side in order and hands each square to `reader`. Throws
// placement_error for a square that cannot be placed; the squares before
// it have been handed over, `finish` is then not called.
void place_squares(const square_case& c, placement_reader& reader);

// The same loop into a skyline that keeps its memory (and its limit of
// runs) from case to case, for any reader with `take` and `finish`: the
// check's calls need no virtual dispatch.
template <typename Reader>
void place_squares(const square_case& c, skyline& sky, Reader& reader);

// Throw placement_error for a square that overhangs the width or leaves
// the 32-bit range, and for one whose raise would pass the depth limit.
[[noreturn]] void reject_square(std::size_t number, const placement& p, std::int32_t width);
[[noreturn]] void reject_raise(std::size_t number, const placement& p, const ground& under);

// How far the squares a drawing shows reach: right of the left edge (the
// width at least) and below the top edge (0 without squares). A drawing
// needs it before its first square.
struct drawing_extent {
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};
drawing_extent extent_of(const square_case& c);

// "square 3 (side 7, column 12)", as messages name a square.
std::string name_square(std::size_t number, const placement& p);

template <typename Reader>
void place_squares(const square_case& c, skyline& sky, Reader& reader)
{
    constexpr std::int64_t int32_min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();
    reset_skyline(sky, c.width, sky.most_runs);
    for (std::size_t i = 0; i < c.sides.size(); ++i) {
        placed_square s;
        s.number = i + 1;
        s.where = place_square(sky, c.sides[i], c.height);
        const std::int64_t bottom = s.where.top - s.where.side;
        if (s.where.column + s.where.side > c.width || s.where.top < int32_min ||
            s.where.top > int32_max || bottom < int32_min || bottom > int32_max) {
            reject_square(s.number, s.where, c.width);
        }
        if (s.where.side > 0) {
            s.under = raise_columns(sky, s.where);
            if (s.under.highest + std::int64_t{s.where.side} > int32_max) {
                reject_raise(s.number, s.where, s.under);
            }
        } else {
            s.under = ground{lowest_depth(sky), lowest_depth(sky)};
        }
        reader.take(s);
    }
    reader.finish(sky);
}
