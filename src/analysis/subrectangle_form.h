// The canonical code up to the symmetries of the sub-rectangles too: equal
// for dissections that differ only by turning or mirroring sub-rectangles
// inside them (and the whole).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/canonical.h"

// Appends the canonical code (as append_canonical writes it, without a
// caption) of the dissection's normal form: each piece of a stack or row
// of pieces in its own normal form and the pieces in a fixed order; in a
// dissection with no full cut, each maximal sub-rectangle in its normal
// form and the whole turned the way whose sides, read by the depth of
// their tops and then from left to right, are greatest.
void append_subrectangle_canonical(const std::vector<square_box>& squares, std::int64_t width,
                                   std::int64_t height, canonical_scratch& scratch,
                                   std::string& out, const std::string& caption = std::string());

// append_canonical_line, or with `up_to_subrectangles` the code above with
// the case's caption.
bool append_code_line(const square_case& c, bool up_to_subrectangles, canonical_scratch& scratch,
                      std::string& out, std::string& problem);

// The normal form of a dissection of the width x height box, in that box.
std::vector<square_box> subrectangle_normal_form(std::vector<square_box> squares,
                                                 std::int64_t width, std::int64_t height);
