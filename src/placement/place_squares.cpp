#include "placement/place_squares.h"

#include <algorithm>

std::string name_square(std::size_t number, const placement& p)
{
    return "square " + std::to_string(number) + " (side " + std::to_string(p.side) + ", column " +
           std::to_string(p.column) + ")";
}

void reject_square(std::size_t number, const placement& p, std::int32_t width)
{
    if (p.column + p.side > width) {
        throw placement_error(
            name_square(number, p) +
            " overhangs the right edge: it reaches x = " + std::to_string(p.column + p.side) +
            " in a rectangle " + std::to_string(width) + " wide");
    }
    throw placement_error(name_square(number, p) +
                          " would have its top edge at y = " + std::to_string(p.top) +
                          " and its bottom edge at y = " + std::to_string(p.top - p.side) +
                          ", outside the 32-bit range");
}

void reject_raise(std::size_t number, const placement& p, const ground& under)
{
    throw placement_error(name_square(number, p) + " would take a column to depth " +
                          std::to_string(under.highest + std::int64_t{p.side}) +
                          ", past 2147483647");
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
    } catch (const placement_error&) {
        // The drawing stops at the same square and says so there.
    }
    return reader.extent;
}
