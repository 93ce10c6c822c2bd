#include "document/size_histogram.h"

#include <algorithm>
#include <vector>

namespace {

// The panel's geometry, in SVG user units.
constexpr int width = 640;
constexpr int panel_height = 150;
constexpr int left = 70;  // room for the counts and the axis title
constexpr int right = 20;
constexpr int top = 30;     // room for the panel's title
constexpr int bottom = 40;  // room for the sides and the axis title
constexpr int plot_width = width - left - right;
constexpr int plot_height = panel_height - top - bottom;

std::string text(int x, int y, const std::string& anchor, const std::string& content,
                 const std::string& extra = "")
{
    return "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" text-anchor=\"" +
           anchor + "\"" + extra + ">" + content + "</text>\n";
}

std::string line(int x1, int y1, int x2, int y2)
{
    return "<line x1=\"" + std::to_string(x1) + "\" y1=\"" + std::to_string(y1) + "\" x2=\"" +
           std::to_string(x2) + "\" y2=\"" + std::to_string(y2) + "\"/>\n";
}

std::string panel(std::int32_t order, const std::map<std::int32_t, std::int64_t>& sides, int y0)
{
    const std::int32_t least = sides.begin()->first;
    const std::int32_t greatest = sides.rbegin()->first;
    const std::int32_t step = bin_width(least, greatest);
    const std::int64_t span = std::int64_t{greatest} - least + 1;
    const int bins = static_cast<int>((span + step - 1) / step);
    std::vector<std::int64_t> counts(static_cast<std::size_t>(bins), 0);
    std::int64_t total = 0;
    for (const auto& [side, n] : sides) {
        counts[static_cast<std::size_t>((std::int64_t{side} - least) / step)] += n;
        total += n;
    }
    const std::int64_t tallest = *std::max_element(counts.begin(), counts.end());
    std::string out = "<g class=\"order\" data-order=\"" + std::to_string(order) +
                      "\" data-count=\"" + std::to_string(total) + "\">\n";
    out += text(left, y0 + 18, "start",
                "order " + std::to_string(order) + ": " + std::to_string(total) +
                    (total == 1 ? " dissection" : " dissections"),
                " class=\"title\"");
    const int base = y0 + top + plot_height;
    const int bar_width = plot_width / bins;
    for (int i = 0; i < bins; ++i) {
        const std::int64_t n = counts[static_cast<std::size_t>(i)];
        const int h = static_cast<int>(n * plot_height / tallest);
        const std::int64_t from = std::int64_t{least} + std::int64_t{i} * step;
        const std::int64_t to = std::min<std::int64_t>(from + step - 1, greatest);
        out += "<rect class=\"bar\" x=\"" + std::to_string(left + i * bar_width + 1) + "\" y=\"" +
               std::to_string(base - h) + "\" width=\"" + std::to_string(bar_width - 2) +
               "\" height=\"" + std::to_string(h) + "\" data-from=\"" + std::to_string(from) +
               "\" data-to=\"" + std::to_string(to) + "\" data-count=\"" + std::to_string(n) +
               "\"><title>" + std::to_string(from) + (from == to ? "" : "-" + std::to_string(to)) +
               ": " + std::to_string(n) + "</title></rect>\n";
    }
    // The axes, the counts at 0 and at the tallest bar, the bins' first and last sides.
    out += line(left, y0 + top, left, base) + line(left, base, left + bins * bar_width, base);
    out += text(left - 6, base + 4, "end", "0");
    out += text(left - 6, y0 + top + 4, "end", std::to_string(tallest));
    out += text(left, base + 16, "start", std::to_string(least));
    out += text(left + bins * bar_width, base + 16, "end", std::to_string(greatest));
    out += text(left + plot_width / 2, base + 32, "middle", "longer side");
    const int middle = y0 + top + plot_height / 2;
    out += text(18, middle, "middle", "dissections",
                " transform=\"rotate(-90 18 " + std::to_string(middle) + ")\"");
    return out + "</g>\n";
}

}  // namespace

std::int32_t bin_width(std::int32_t least, std::int32_t greatest)
{
    const std::int64_t span = std::int64_t{greatest} - least + 1;
    return static_cast<std::int32_t>(std::max<std::int64_t>(1, (span + most_bins - 1) / most_bins));
}

std::string size_histogram(const side_counts& orders)
{
    std::int64_t panels = 0;
    for (const auto& o : orders) panels += !o.second.empty();
    const std::string height = std::to_string(std::max<std::int64_t>(1, panels) * panel_height);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
        std::to_string(width) + " " + height + "\" width=\"" + std::to_string(width) +
        "\" height=\"" + height + "\">\n" +
        "<style>text{font:12px sans-serif}.title{font-weight:bold}"
        ".bar{fill:#4a7ab5}line{stroke:black}</style>\n";
    int y = 0;
    for (const auto& [order, sides] : orders) {
        if (sides.empty()) continue;
        out += panel(order, sides, y);
        y += panel_height;
    }
    if (panels == 0) out += text(width / 2, panel_height / 2, "middle", "no dissections");
    return out + "</svg>\n";
}
