// What --stats tells of a catalogue's dissections, order by order: how
// many, of which kinds, the least and greatest rectangles and squares, and
// how often a square of each size rank lies in a corner.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "analysis/case_check.h"
#include "analysis/check_workspace.h"
#include "squares.h"

// The size ranks of the corner columns: the three largest sides, then the
// smallest. Ranks go by distinct sides, so squares of one side share one.
constexpr int corner_ranks = 4;

struct order_stats {
    std::int64_t count = 0;
    std::int64_t perfect = 0;
    std::int64_t squares = 0;
    std::int64_t compound = 0;
    // Rectangles as (longer side, shorter side), least and greatest in that
    // order; squares by their side. 0: none yet.
    std::int32_t least[2] = {0, 0};
    std::int32_t most[2] = {0, 0};
    std::int32_t least_square = 0;
    std::int32_t most_square = 0;
    // Dissections with a square of the largest, second and third largest
    // side, and of the smallest, in one of the four corners.
    std::int64_t corner[corner_ranks] = {0, 0, 0, 0};
    // How many rectangles have each longer side, for the histogram.
    std::map<std::int32_t, std::int64_t> longer_sides;
};

// By order.
using catalogue_stats = std::map<std::int32_t, order_stats>;

// Counts a dissection, its squares where the check placed them.
void add_dissection(catalogue_stats& stats, const square_case& c, const case_verdict& verdict,
                    const std::vector<square_box>& squares);

// Adds the counts of a batch.
void add_stats(catalogue_stats& stats, const catalogue_stats& more);

// The table: a header line, then a tab-separated row per order.
std::string stats_table(const catalogue_stats& stats);

// The SVG histogram of the longer sides, a panel per order.
std::string stats_histogram(const catalogue_stats& stats);
