// The square loop: each square goes to the left-most column of least depth.
#pragma once

#include <cstddef>
#include <cstdint>
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
placement place_square(const skyline& sky, std::int32_t side, std::int32_t height);

// Places every side in order and hands each square to `reader`. Throws
// placement_error for a square that cannot be placed; the squares before
// it have been handed over, `finish` is then not called.
void place_squares(const square_case& c, placement_reader& reader);

// How far below the top edge the deepest square reaches (0 without
// squares), among the squares before any that cannot be placed: a drawing
// that needs its extent first fails at that square itself, after the
// tiling report has noted the ones before it.
std::int64_t deepest_bottom(const square_case& c);

// "square 3 (side 7, column 12)", as messages name a square.
std::string name_square(std::size_t number, const placement& p);
