#include "document/drawing_style.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr double widths_across = 600;
constexpr double widths_per_smallest = 16;

// Significant digits of the line width (and so of a margin) and of a
// label's font size: enough to look right, few enough to stay short.
constexpr int width_digits = 2;
constexpr int font_size_digits = 4;

}  // namespace

frame_scale scale_frame(const square_case& c, std::int64_t longer, double size_mm)
{
    const auto frame = static_cast<double>(std::max(c.width, c.height));
    frame_scale scale{size_mm / frame, {}};
    const double drawn = scale.mm * static_cast<double>(longer);
    if (drawn > largest_drawing_mm) {
        scale.mm = largest_drawing_mm / static_cast<double>(longer);
        char text[200];
        std::snprintf(text, sizeof text,
                      "the squares reach so far beyond the frame that a frame of %g mm would "
                      "make the drawing %.0f mm; it is drawn %g mm on its longer side, the "
                      "frame %.3g mm",
                      size_mm, drawn, largest_drawing_mm, scale.mm * frame);
        scale.caveat = text;
    }
    return scale;
}

rounded line_width(const square_case& c, std::int64_t depth)
{
    std::int32_t smallest = 0;
    for (const std::int32_t side : c.sides) {
        if (side > 0 && (smallest == 0 || side < smallest)) smallest = side;
    }
    double target = static_cast<double>(std::max<std::int64_t>(c.width, depth)) / widths_across;
    if (smallest > 0) target = std::min(target, smallest / widths_per_smallest);
    return round_significant(target, width_digits);
}

outline_stroke outline_stroke_for(double longer)
{
    const rounded width = round_significant(longer / 250, width_digits);
    return {width, round_significant(4 * width.value, width_digits + 1),
            round_significant(2.5 * width.value, width_digits + 1)};
}

char* label_sizes::put(char* out, std::int32_t side)
{
    entry& e = entries_[static_cast<std::uint32_t>(side) % 64];
    if (e.length == 0 || e.side != side) {
        const rounded size = round_significant(
            static_cast<double>(side) / std::max(2, digit_count(side)), font_size_digits);
        char text[longest_fixed];
        const char* end = put_trimmed(text, size.value, size.decimals);
        e.side = side;
        e.length = static_cast<std::uint8_t>(end - text);
        put_text(e.text, {text, e.length});
    }
    return put_short(out, e.text, e.length);
}
