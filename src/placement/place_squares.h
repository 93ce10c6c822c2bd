// The square loop: each square goes to the left-most column of least depth.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/document.h"
#include "placement/skyline.h"
#include "squares.h"

// Where the next square of this side goes; the skyline is not changed.
placement place_square(const skyline& sky, std::int32_t side, std::int32_t height);

// Places every side in order, writing one square block each, and returns
// the tiling report: warnings for a list that does not dissect the
// rectangle exactly (none for a true dissection). Throws conversion_error
// for a square that would overhang the right edge or leave the 32-bit
// range; the document is then never completed.
std::vector<std::string> place_squares(const square_case& c, document& doc);
