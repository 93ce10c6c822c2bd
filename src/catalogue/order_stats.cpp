#include "catalogue/order_stats.h"

#include <algorithm>
#include <array>
#include <functional>

#include "document/size_histogram.h"

namespace {

void keep_least(std::int32_t (&kept)[2], const std::int32_t (&size)[2], bool least)
{
    const bool first = kept[0] == 0;
    const bool before = std::lexicographical_compare(size, size + 2, kept, kept + 2);
    if (first || before == least) std::copy(size, size + 2, kept);
}

void keep_side(std::int32_t& kept, std::int32_t side, bool least)
{
    if (side == 0) return;
    if (kept == 0 || (least ? side < kept : side > kept)) kept = side;
}

std::string size_text(const std::int32_t (&size)[2])
{
    return size[0] == 0 ? "-" : std::to_string(size[0]) + "x" + std::to_string(size[1]);
}

std::string side_text(std::int32_t side)
{
    return side == 0 ? "-" : std::to_string(side);
}

// Which size ranks have a square in a corner: the distinct sides from the
// largest down, the largest three and the smallest.
std::array<bool, corner_ranks> corner_ranks_of(const square_case& c,
                                               const std::vector<square_box>& squares)
{
    std::vector<std::int32_t> sides;
    std::vector<std::int32_t> corners;
    for (const square_box& b : squares) {
        if (b.side <= 0) continue;
        sides.push_back(b.side);
        const bool left = b.x == 0;
        const bool right = std::int64_t{b.x} + b.side == c.width;
        const bool top = b.y == 0;
        const bool bottom = std::int64_t{b.y} + b.side == c.height;
        if ((left || right) && (top || bottom)) corners.push_back(b.side);
    }
    std::sort(sides.begin(), sides.end(), std::greater<>());
    sides.erase(std::unique(sides.begin(), sides.end()), sides.end());
    std::array<bool, corner_ranks> found{};
    if (sides.empty()) return found;
    const auto in_corner = [&](std::int32_t side) {
        return std::find(corners.begin(), corners.end(), side) != corners.end();
    };
    for (std::size_t rank = 0; rank + 1 < corner_ranks && rank < sides.size(); ++rank)
        found[rank] = in_corner(sides[rank]);
    found[corner_ranks - 1] = in_corner(sides.back());
    return found;
}

}  // namespace

void add_dissection(catalogue_stats& stats, const square_case& c, const case_verdict& verdict,
                    const std::vector<square_box>& squares)
{
    order_stats& s = stats[c.count];
    const std::array<bool, corner_ranks> corners = corner_ranks_of(c, squares);
    for (int rank = 0; rank < corner_ranks; ++rank) s.corner[rank] += corners[rank];
    ++s.longer_sides[std::max(c.width, c.height)];
    ++s.count;
    s.perfect += verdict.perfect;
    s.compound += !verdict.simple;
    const std::int32_t size[2] = {std::max(c.width, c.height), std::min(c.width, c.height)};
    if (c.width == c.height) {
        ++s.squares;
        keep_side(s.least_square, c.width, true);
        keep_side(s.most_square, c.width, false);
    }
    keep_least(s.least, size, true);
    keep_least(s.most, size, false);
}

void add_stats(catalogue_stats& stats, const catalogue_stats& more)
{
    for (const auto& [order, m] : more) {
        order_stats& s = stats[order];
        s.count += m.count;
        s.perfect += m.perfect;
        s.squares += m.squares;
        s.compound += m.compound;
        if (m.least[0] != 0) keep_least(s.least, m.least, true);
        if (m.most[0] != 0) keep_least(s.most, m.most, false);
        keep_side(s.least_square, m.least_square, true);
        keep_side(s.most_square, m.most_square, false);
        for (int rank = 0; rank < corner_ranks; ++rank) s.corner[rank] += m.corner[rank];
        for (const auto& [side, n] : m.longer_sides) s.longer_sides[side] += n;
    }
}

std::string stats_table(const catalogue_stats& stats)
{
    std::string table =
        "order\tdissections\tperfect\tsquares\tcompound\tleast rectangle\tgreatest "
        "rectangle\tleast square\tgreatest square\tcorner 1st\tcorner 2nd\tcorner 3rd\tcorner "
        "smallest\n";
    for (const auto& [order, s] : stats) {
        table += std::to_string(order) + "\t" + std::to_string(s.count) + "\t" +
                 std::to_string(s.perfect) + "\t" + std::to_string(s.squares) + "\t" +
                 std::to_string(s.compound) + "\t" + size_text(s.least) + "\t" + size_text(s.most) +
                 "\t" + side_text(s.least_square) + "\t" + side_text(s.most_square);
        for (const std::int64_t n : s.corner) table += "\t" + std::to_string(n);
        table += "\n";
    }
    return table;
}

std::string stats_histogram(const catalogue_stats& stats)
{
    side_counts orders;
    for (const auto& [order, s] : stats) orders[order] = s.longer_sides;
    return size_histogram(orders);
}
