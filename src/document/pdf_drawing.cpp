#include "document/pdf_drawing.h"

#include <algorithm>
#include <cmath>

#include "placement/place_squares.h"

namespace {

// Significant digits of the scale: every square is then where it belongs
// on the page to some 10^-7 points, a unit of the widest case (2^31).
constexpr int scale_digits = 10;

// Label offsets from the square's centre to the start of its baseline, in
// ems: half the width of the digits (every Helvetica digit is 0.556 em
// wide), and 0.35 em down, which centres the digits' height of 0.7 em.
// The text is drawn upright in a space whose y runs down.
constexpr const char* label_offsets[] = {
    "",
    " -0.278 -0.35 Td(",
    " -0.556 -0.35 Td(",
    " -0.834 -0.35 Td(",
    " -1.112 -0.35 Td(",
    " -1.39 -0.35 Td(",
    " -1.668 -0.35 Td(",
    " -1.946 -0.35 Td(",
    " -2.224 -0.35 Td(",
    " -2.502 -0.35 Td(",
    " -2.78 -0.35 Td(",
};

// Where the drawing starts on the page, in points: to a millionth, so
// that the smallest squares of the largest cases are in their places on
// the page too.
char* put_points(char* out, double points)
{
    return put_trimmed(out, points, 6);
}

}  // namespace

char* string_sink::reserve(std::size_t size)
{
    if (text_.size() - used_ < size) text_.resize(std::max(2 * text_.size(), used_ + size));
    return &text_[used_];
}

void string_sink::commit(char* end)
{
    used_ = static_cast<std::size_t>(end - &text_[0]);
}

std::string string_sink::take()
{
    text_.resize(used_);
    used_ = 0;
    return std::move(text_);
}

double page_length(double points)
{
    return std::ceil(points * 1000) / 1000;
}

std::string media_box(double width, double height)
{
    char box[2 * longest_fixed];
    char* end = put_text(box, "[0 0 ");
    end = put_trimmed(end, width, 3);
    end = put_text(end, " ");
    end = put_trimmed(end, height, 3);
    end = put_text(end, "]");
    return std::string(box, end);
}

pdf_layout lay_out_pdf(const square_case& c, const picture_settings& settings)
{
    pdf_layout layout;
    const drawing_extent extent = extent_of(c);
    layout.depth = std::max<std::int64_t>(c.height, extent.bottom);
    const frame_scale scale =
        scale_frame(c, std::max(extent.right, layout.depth),
                    settings.size_mm > 0 ? settings.size_mm : default_size_mm);
    layout.scale = round_significant(scale.mm * 72 / 25.4, scale_digits);
    layout.caveat = scale.caveat;
    layout.width = static_cast<double>(extent.right) * layout.scale.value;
    layout.height = static_cast<double>(layout.depth) * layout.scale.value;
    return layout;
}

std::string pdf_resources(std::size_t font, std::size_t state)
{
    return "<< /Font << /F1 " + std::to_string(font) + " 0 R >> /ExtGState << /A " +
           std::to_string(state) + " 0 R >> >>";
}

pdf_drawer::pdf_drawer(byte_sink& sink, const pdf_layout& layout, double left, double top)
    : sink_(sink), layout_(layout), left_(left), top_(top)
{
}

void pdf_drawer::frame_head(const square_case& c)
{
    height_ = c.height;
    const rounded line = line_width(c, layout_.depth);
    char* out = sink_.reserve(4 * longest_line);
    // One transformation to the case's units, y down from the top edge.
    out = put_text(out, "q\n");
    out = put_trimmed(out, layout_.scale.value, layout_.scale.decimals);
    out = put_text(out, " 0 0 -");
    out = put_trimmed(out, layout_.scale.value, layout_.scale.decimals);
    out = put_text(out, " ");
    out = put_points(out, left_);
    out = put_text(out, " ");
    out = put_points(out, top_);
    out = put_text(out, " cm\n");
    out = put_trimmed(out, line.value, line.decimals);
    out = put_text(out, " w\n/F1 1 Tf\n");
    // Light, so that a stretch of it no square covers shows as a gap.
    out = put_text(out, "0.667 G\n0 0 ");
    out = put_integer(out, c.width);
    out = put_text(out, " ");
    out = put_integer(out, std::max<std::int32_t>(c.height, 0));
    sink_.commit(put_text(out, " re S\n0 G\n"));
}

void pdf_drawer::square(const placement& p, bool named)
{
    // No shape has a side of 0 or less; the report names such squares.
    if (p.side <= 0) return;
    char side[short_text];
    const auto side_length = static_cast<std::size_t>(put_integer(side, p.side) - side);
    const std::int64_t depth = std::int64_t{height_} - p.top;

    char* out = sink_.reserve(2 * longest_line);
    // The squares the report names stand out in red, tinted inside.
    if (named) out = put_text(out, "q /A gs 0.933 0 0 rg 0.867 0 0 RG ");
    out = put_integer(out, p.column);
    out = put_text(out, " ");
    out = put_integer(out, depth);
    out = put_text(out, " ");
    out = put_short(out, side, side_length);
    out = put_text(out, " ");
    out = put_short(out, side, side_length);
    out = put_text(out, named ? " re B Q\nBT " : " re S\nBT ");
    out = label_sizes_.put(out, p.side);
    out = put_text(out, " 0 0 -");
    out = label_sizes_.put(out, p.side);
    out = put_text(out, " ");
    out = put_centre(out, 2 * p.column + p.side);
    out = put_text(out, " ");
    out = put_centre(out, 2 * depth + p.side);
    out = put_text(out, " Tm");
    out = put_text(out, label_offsets[side_length]);
    out = put_short(out, side, side_length);
    sink_.commit(put_text(out, ")Tj ET\n"));
}

void pdf_drawer::frame_tail()
{
    // As the SVG draws them: over the squares, wide, dashed, blue.
    if (!outlines_.empty()) {
        char* out = sink_.reserve(2 * longest_line);
        out = put_text(out, "% sub-rectangles\nq 0 0.4 0.8 RG ");
        const outline_stroke stroke =
            outline_stroke_for(std::max(layout_.width, layout_.height) / layout_.scale.value);
        out = put_trimmed(out, stroke.width.value, stroke.width.decimals);
        out = put_text(out, " w [");
        out = put_trimmed(out, stroke.dash.value, stroke.dash.decimals);
        out = put_text(out, " ");
        out = put_trimmed(out, stroke.gap.value, stroke.gap.decimals);
        sink_.commit(put_text(out, "] 0 d\n"));
        for (const sub_rectangle& r : outlines_) {
            out = sink_.reserve(longest_line);
            out = put_integer(out, r.x);
            out = put_text(out, " ");
            out = put_integer(out, r.y);
            out = put_text(out, " ");
            out = put_integer(out, r.width);
            out = put_text(out, " ");
            out = put_integer(out, r.height);
            sink_.commit(put_text(out, " re S\n"));
        }
        sink_.commit(put_text(sink_.reserve(8), "Q\n"));
    }
    char* out = sink_.reserve(8);
    sink_.commit(put_text(out, "Q\n"));
}
