// The SVG histogram of --stats -f svg: per order, how many rectangles have
// their longer side in each bin, one panel per order.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// Per order, the count of each longer side.
using side_counts = std::map<std::int32_t, std::map<std::int32_t, std::int64_t>>;

// At most this many bins a panel, each as wide as the others.
constexpr std::int32_t most_bins = 12;

// The bins' width for longer sides from `least` to `greatest`.
std::int32_t bin_width(std::int32_t least, std::int32_t greatest);

// The whole SVG file. Each panel is a <g class="order"> with data-order and
// data-count; each bar a <rect class="bar"> with data-from, data-to (the
// sides of its bin, both included) and data-count.
std::string size_histogram(const side_counts& orders);
