// What the SVG and PDF drawings share, in the case's own units: the width
// of their lines and the size of each square's label.
#pragma once

#include <cstdint>

#include "document/number_format.h"
#include "squares.h"

// The line width for a picture reaching `depth` below its top edge: about
// 1/600 of its longer side, so it shows about one pixel wide at a usual
// size on screen, but never more than 1/16 of the smallest square, so a
// grid of a million unit squares is still a drawing of thin lines once
// zoomed in, not a black field. Two significant digits.
rounded line_width(const square_case& c, std::int64_t depth);

// The label's font size: the side over its digit count (at least 2), so
// the digits span about 0.6 of the square across and 0.36 up, clear of
// its corners. Lists repeat a few sides many times over, so each is
// formatted once.
class label_sizes {
public:
    // Writes the font size of a square of this side (1 or more).
    char* put(char* out, std::int32_t side);

private:
    struct entry {
        std::int32_t side = 0;
        std::uint8_t length = 0;  // 0: empty
        char text[short_text] = {};
    };
    entry entries_[64];
};
