#include "placement/place_squares.h"

#include <algorithm>
#include <limits>

std::string name_square(std::size_t number, const placement& p)
{
    return "square " + std::to_string(number) + " (side " + std::to_string(p.side) + ", column " +
           std::to_string(p.column) + ")";
}

void reject_square(std::size_t number, const placement& p, std::int32_t width)
{
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    const std::int64_t bottom = p.top - p.side;
    // Only a square whose edges all lie within 32 bits can be drawn.
    const bool in_range = p.top >= low && p.top <= high && bottom >= low && bottom <= high;
    if (p.column + p.side > width) {
        throw placement_error(
            name_square(number, p) +
                " overhangs the right edge: it reaches x = " + std::to_string(p.column + p.side) +
                " in a rectangle " + std::to_string(width) + " wide",
            number, p, in_range);
    }
    throw placement_error(name_square(number, p) + " would have its top edge at y = " +
                              std::to_string(p.top) + " and its bottom edge at y = " +
                              std::to_string(bottom) + ", outside the 32-bit range",
                          number, p, false);
}

void reject_raise(std::size_t number, const placement& p, const ground& under)
{
    // Its own edges are within range: it can be drawn where it would go.
    throw placement_error(name_square(number, p) + " would take a column to depth " +
                              std::to_string(under.highest + std::int64_t{p.side}) +
                              ", past 2147483647",
                          number, p, true);
}

void place_squares(const square_case& c, placement_reader& reader)
{
    skyline sky;
    place_squares(c, sky, reader);
}

drawing_extent extent_of(const square_case& c)
{
    struct reach : placement_reader {
        std::int64_t height = 0;
        drawing_extent extent;
        void take(const placed_square& s) override
        {
            extent.bottom = std::max(extent.bottom, height - s.where.top + s.where.side);
        }
        void finish(const skyline&) override {}
    } reader;
    reader.height = c.height;
    reader.extent.right = c.width;
    try {
        place_squares(c, reader);
    } catch (const placement_error& e) {
        // The drawing stops at the same square and says so there.
        if (e.drawable) {
            reader.extent.right = std::max(reader.extent.right, e.where.column + e.where.side);
            reader.take(placed_square{e.square, e.where, {}});
        }
    }
    return reader.extent;
}
