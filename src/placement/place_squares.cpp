#include "placement/place_squares.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t int32_min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();

bool fits_int32(std::int64_t v)
{
    return v >= int32_min && v <= int32_max;
}

// Rejects a square whose drawing or raise would not fit the rectangle's
// width or the 32-bit range; no drawing's integers may ever wrap.
void check_square(std::size_t number, const placement& p, std::int32_t width)
{
    if (p.column + p.side > width) {
        throw placement_error(
            name_square(number, p) +
            " overhangs the right edge: it reaches x = " + std::to_string(p.column + p.side) +
            " in a rectangle " + std::to_string(width) + " wide");
    }
    if (!fits_int32(p.top) || !fits_int32(p.top - p.side)) {
        throw placement_error(name_square(number, p) +
                              " would have its top edge at y = " + std::to_string(p.top) +
                              " and its bottom edge at y = " + std::to_string(p.top - p.side) +
                              ", outside the 32-bit range");
    }
}

}  // namespace

std::string name_square(std::size_t number, const placement& p)
{
    return "square " + std::to_string(number) + " (side " + std::to_string(p.side) + ", column " +
           std::to_string(p.column) + ")";
}

placement place_square(const skyline& sky, std::int32_t side, std::int32_t height)
{
    return placement{lowest_column(sky), std::int64_t{height} - lowest_depth(sky), side};
}

void place_squares(const square_case& c, placement_reader& reader)
{
    skyline sky = make_skyline(c.width);
    for (std::size_t i = 0; i < c.sides.size(); ++i) {
        placed_square s;
        s.number = i + 1;
        s.where = place_square(sky, c.sides[i], c.height);
        check_square(s.number, s.where, c.width);
        if (s.where.side > 0) {
            s.under = raise_columns(sky, s.where);
            if (s.under.highest + std::int64_t{s.where.side} > int32_max) {
                throw placement_error(name_square(s.number, s.where) +
                                      " would take a column to depth " +
                                      std::to_string(s.under.highest + std::int64_t{s.where.side}) +
                                      ", past 2147483647");
            }
        } else {
            s.under = ground{lowest_depth(sky), lowest_depth(sky)};
        }
        reader.take(s);
    }
    reader.finish(sky);
}

std::int64_t deepest_bottom(const square_case& c)
{
    struct deepest : placement_reader {
        std::int64_t height = 0;
        std::int64_t bottom = 0;
        void take(const placed_square& s) override
        {
            bottom = std::max(bottom, height - s.where.top + s.where.side);
        }
        void finish(const skyline&) override {}
    } reader;
    reader.height = c.height;
    try {
        place_squares(c, reader);
    } catch (const placement_error&) {
        // The drawing stops at the same square and says so there.
    }
    return reader.bottom;
}
