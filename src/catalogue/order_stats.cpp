#include "catalogue/order_stats.h"

#include <algorithm>

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

}  // namespace

void add_dissection(catalogue_stats& stats, const square_case& c, const case_verdict& verdict)
{
    order_stats& s = stats[c.count];
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
    }
}

std::string stats_table(const catalogue_stats& stats)
{
    std::string table =
        "order\tdissections\tperfect\tsquares\tcompound\tleast rectangle\tgreatest "
        "rectangle\tleast square\tgreatest square\n";
    for (const auto& [order, s] : stats) {
        table += std::to_string(order) + "\t" + std::to_string(s.count) + "\t" +
                 std::to_string(s.perfect) + "\t" + std::to_string(s.squares) + "\t" +
                 std::to_string(s.compound) + "\t" + size_text(s.least) + "\t" +
                 size_text(s.most) + "\t" + side_text(s.least_square) + "\t" +
                 side_text(s.most_square) + "\n";
    }
    return table;
}
