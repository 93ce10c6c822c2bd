// The pieces compound rectangles are built from: squared rectangles as
// their placed squares, turned and mirrored, and the simple perfect ones
// of an order as the c-nets give them.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/case_check.h"

// A squared rectangle of `width` x `height`, its squares as the check
// places them (x of the left edge, y of the top measured down).
struct piece {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<square_box> squares;
};

// The 8 ways to turn or mirror a rectangle: bit 0 mirrors left to right,
// bit 1 top to bottom, bit 2 then swaps x and y (the box becomes height x
// width). Ways 0 to 3 keep the box's shape.
constexpr int orientations = 8;

// The squares of `p` turned the way `way`, scaled by `scale` and moved by
// (dx, dy), appended to `out`.
void place_piece(const piece& p, int way, std::int64_t scale, std::int64_t dx, std::int64_t dy,
                 std::vector<square_box>& out);

// The piece a canonical code (or any case line without a caption) gives;
// throws std::logic_error for a line that is no dissection, which a code
// the tool made never is.
piece piece_of_code(std::string_view code, canonical_scratch& scratch);

// The canonical codes of the simple perfect rectangles of `order`, squares
// included, sorted, each once.
std::vector<std::string> simple_perfect_codes(int order);

// A rectangle's shape: longer side, shorter side, in lowest terms.
using shape = std::pair<std::int64_t, std::int64_t>;
shape shape_of(std::int64_t width, std::int64_t height);

// The simple perfect rectangles of `order` of those shapes, each once, the
// c-nets shared by `jobs` threads.
std::vector<std::string> simple_of_shapes(int order, const std::set<shape>& shapes, int jobs);
