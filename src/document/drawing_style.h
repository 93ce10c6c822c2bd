// What the sized drawings share, in the case's own units: their scale, the
// width of their lines and the size of each square's label.
#pragma once

#include <cstdint>
#include <string>

#include "document/number_format.h"
#include "squares.h"

// The largest drawing, in millimetres: a PDF page of 5 m (with its margin)
// is still within the 200 inches PDF viewers show, and TeX's lengths end
// at 5758 mm.
constexpr double largest_drawing_mm = 5000;

// Millimetres a unit: the frame's longer side is `size_mm`, so pieces
// printed at 100 % have their true size, and squares beyond the frame make
// the drawing larger. A drawing that would so pass largest_drawing_mm on
// its longer side (`longer` units) is drawn that size instead, and
// `caveat` says how large the frame came out.
struct frame_scale {
    double mm = 0;
    std::string caveat;
};
frame_scale scale_frame(const square_case& c, std::int64_t longer, double size_mm);

// The line width for a picture reaching `depth` below its top edge: about
// 1/600 of its longer side, so it shows about one pixel wide at a usual
// size on screen, but never more than 1/16 of the smallest square, so a
// grid of a million unit squares is still a drawing of thin lines once
// zoomed in, not a black field. Two significant digits.
rounded line_width(const square_case& c, std::int64_t depth);

// The stroke that outlines a sub-rectangle over the squares, in units:
// about 1/250 of the picture's longer side wide, dashes 4 widths long with
// gaps of 2.5, whatever the smallest square, so it stands out from the
// squares' lines (which that square may make far thinner) at any size.
struct outline_stroke {
    rounded width, dash, gap;
};
outline_stroke outline_stroke_for(double longer);

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
