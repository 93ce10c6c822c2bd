// What keeps a list of squares from dissecting its rectangle exactly, in
// words for the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "placement/place_squares.h"

struct tiling_report {
    explicit tiling_report(std::int32_t rectangle_height) : height(rectangle_height) {}

    std::int32_t height;
    // A few examples of each kind of fault, then a count of the rest; none
    // for a dissection.
    std::vector<std::string> warnings;
    // The first thing, in list order, that keeps the list from dissecting
    // the rectangle, briefly; empty while there is none.
    std::string problem;

    bool uneven_seen = false;
    bool below_seen = false;
    std::size_t not_positive = 0;
};

// Notes one placed square; true when the report names it, so a drawing can
// point it out. The second notes a square with some fault.
bool note_faulty_square(tiling_report& report, const placed_square& s);
inline bool note_square(tiling_report& report, const placed_square& s)
{
    const bool sound =
        s.where.side > 0 && s.under.lowest == s.under.highest && s.where.top >= s.where.side;
    return !sound && note_faulty_square(report, s);
}

// Notes the columns left short of the bottom edge once every square is placed.
void note_end(tiling_report& report, const skyline& sky);

// Notes a failure that stopped the placement, as the problem if there was none before.
void note_failure(tiling_report& report, const std::string& message);
