#include "placement/place_squares.h"

#include <limits>

#include "document/square_block.h"

namespace {

constexpr std::int64_t int32_min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();

// The report names a few examples of each kind and counts the rest.
constexpr std::size_t examples_per_warning = 5;

bool fits_int32(std::int64_t v)
{
    return v >= int32_min && v <= int32_max;
}

std::string name_square(std::size_t number, const placement& p)
{
    return "square " + std::to_string(number) + " (side " + std::to_string(p.side) + ", column " +
           std::to_string(p.column) + ")";
}

// "column 3 ends" or "columns 3 to 5 end".
std::string name_columns(const column_span& span)
{
    if (span.length == 1) return "column " + std::to_string(span.first) + " ends";
    return "columns " + std::to_string(span.first) + " to " +
           std::to_string(span.first + span.length - 1) + " end";
}

// Rejects a square whose drawing or raise would not fit the rectangle's
// width or the 32-bit range; the document's integers must never wrap.
void check_square(std::size_t number, const placement& p, std::int32_t width)
{
    if (p.column + p.side > width) {
        throw conversion_error(
            name_square(number, p) +
            " overhangs the right edge: it reaches x = " + std::to_string(p.column + p.side) +
            " in a rectangle " + std::to_string(width) + " wide");
    }
    if (!fits_int32(p.top) || !fits_int32(p.top - p.side)) {
        throw conversion_error(name_square(number, p) +
                               " would have its top edge at y = " + std::to_string(p.top) +
                               " and its bottom edge at y = " + std::to_string(p.top - p.side) +
                               ", outside the 32-bit range");
    }
}

struct report_builder {
    std::vector<std::string> warnings;
    bool uneven_seen = false;
    bool below_seen = false;
    std::size_t not_positive = 0;

    void note_not_positive(std::size_t number, const placement& p)
    {
        if (++not_positive <= examples_per_warning) {
            warnings.push_back(name_square(number, p) + " has a side of 0 or less");
        }
    }

    void note_ground(std::size_t number, const placement& p, const ground& g)
    {
        if (!uneven_seen && g.lowest != g.highest) {
            uneven_seen = true;
            warnings.push_back(name_square(number, p) +
                               " rests on uneven ground: the columns under it lie at depths " +
                               std::to_string(g.lowest) + " to " + std::to_string(g.highest));
        }
    }

    void note_bottom(std::size_t number, const placement& p)
    {
        if (!below_seen && p.top - p.side < 0) {
            below_seen = true;
            warnings.push_back(name_square(number, p) + " reaches below the bottom edge, to y = " +
                               std::to_string(p.top - p.side));
        }
    }

    void note_short_columns(const skyline& sky, std::int32_t height)
    {
        std::size_t short_spans = 0;
        for (const column_span& span : column_spans(sky)) {
            if (span.depth >= height) continue;
            if (++short_spans <= examples_per_warning) {
                warnings.push_back(name_columns(span) + " at depth " + std::to_string(span.depth) +
                                   ", short of the bottom edge at depth " + std::to_string(height));
            }
        }
        if (short_spans > examples_per_warning) {
            warnings.push_back("and " + std::to_string(short_spans - examples_per_warning) +
                               " more runs of columns end short of the bottom edge");
        }
    }

    void finish_not_positive()
    {
        if (not_positive > examples_per_warning) {
            warnings.push_back("and " + std::to_string(not_positive - examples_per_warning) +
                               " more squares have a side of 0 or less");
        }
    }
};

}  // namespace

placement place_square(const skyline& sky, std::int32_t side, std::int32_t height)
{
    return placement{lowest_column(sky), std::int64_t{height} - lowest_depth(sky), side};
}

std::vector<std::string> place_squares(const square_case& c, document& doc)
{
    skyline sky = make_skyline(c.width);
    report_builder report;
    for (std::size_t i = 0; i < c.sides.size(); ++i) {
        const std::size_t number = i + 1;
        const placement p = place_square(sky, c.sides[i], c.height);
        check_square(number, p, c.width);
        write_square_block(doc, p, c.width);
        if (p.side <= 0) {
            report.note_not_positive(number, p);
            continue;
        }
        const ground g = raise_columns(sky, p);
        if (g.highest + std::int64_t{p.side} > int32_max) {
            throw conversion_error(name_square(number, p) + " would take a column to depth " +
                                   std::to_string(g.highest + std::int64_t{p.side}) +
                                   ", past 2147483647");
        }
        report.note_ground(number, p, g);
        report.note_bottom(number, p);
    }
    report.finish_not_positive();
    report.note_short_columns(sky, c.height);
    return report.warnings;
}
