#include "document/svg_picture.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "document/document.h"
#include "document/number_format.h"
#include "placement/place_squares.h"

namespace {

// Lines are drawn in the picture's own units, so they scale with it: a
// picture this many line widths across shows its lines about one pixel
// wide at a usual size on screen...
constexpr double widths_across = 600;
// ...but a line is never wider than this share of the smallest square, so a
// grid of a million unit squares is still a drawing of thin lines once
// zoomed in, not a black field.
constexpr double widths_per_smallest = 16;

// Significant digits of the line width (and so of the margin) and of a
// label's font size: enough to look right, few enough to stay short.
constexpr int width_digits = 2;
constexpr int font_size_digits = 4;

// A value rounded to a few significant digits, with the decimal places
// that show it exactly.
struct rounded {
    double value = 0;
    int decimals = 0;
};

rounded round_significant(double value, int digits)
{
    char text[64];
    const char* end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1)
            .ptr;
    rounded r;
    std::from_chars(text, end, r.value);
    const char* e = std::find(static_cast<const char*>(text), end, 'e') + 1;
    if (*e == '+') ++e;
    int exponent = 0;
    std::from_chars(e, end, exponent);
    r.decimals = std::max(0, digits - 1 - exponent);
    return r;
}

// twice / 2, a whole or half unit: 12 or 12.5.
char* put_centre(char* out, std::int64_t twice)
{
    if (twice < 0) {
        *out++ = '-';
        twice = -twice;
    }
    out = put_integer(out, twice / 2);
    return twice % 2 != 0 ? put_text(out, ".5") : out;
}

class svg_picture : public picture_writer {
public:
    svg_picture(file_system& files, const std::string& path, links how)
        : doc_(files, path, how)
    {
    }

    void frame_head(const square_case& c) override
    {
        height_ = c.height;
        const std::int64_t depth = std::max<std::int64_t>(c.height, deepest_bottom(c));
        std::int32_t smallest = 0;
        for (const std::int32_t side : c.sides) {
            if (side > 0 && (smallest == 0 || side < smallest)) smallest = side;
        }
        double target = static_cast<double>(std::max<std::int64_t>(c.width, depth)) / widths_across;
        if (smallest > 0) target = std::min(target, smallest / widths_per_smallest);
        const rounded line = round_significant(target, width_digits);
        const auto put_extent = [&](char* out, std::int64_t length) {
            return put_trimmed(out, static_cast<double>(length) + 2 * line.value, line.decimals);
        };

        write_line(doc_, R"(<?xml version="1.0" encoding="UTF-8"?>)");
        char* out = reserve(doc_, 2 * longest_line);
        // The margin of one line width keeps the outer lines whole.
        out = put_text(out, R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox=")");
        out = put_trimmed(out, -line.value, line.decimals);
        out = put_text(out, " ");
        out = put_trimmed(out, -line.value, line.decimals);
        out = put_text(out, " ");
        out = put_extent(out, c.width);
        out = put_text(out, " ");
        out = put_extent(out, depth);
        // Presentation attributes, inherited, so that any style sheet of a
        // page that holds the drawing overrides them.
        out = put_text(out, R"(" fill="none" stroke="#000" stroke-width=")");
        out = put_trimmed(out, line.value, line.decimals);
        out = put_line_end(put_text(out, R"(" font-family="sans-serif" text-anchor="middle">)"));
        out = put_text(out, "<title>");
        out = put_integer(out, static_cast<std::int64_t>(c.sides.size()));
        out = put_text(out, c.sides.size() == 1 ? " square in a " : " squares in a ");
        out = put_integer(out, c.width);
        out = put_text(out, " x ");
        out = put_integer(out, c.height);
        out = put_line_end(put_text(out, " rectangle</title>"));
        // Light, so that a stretch of it no square covers shows as a gap.
        out = put_text(out, R"(<rect class="frame" x="0" y="0" width=")");
        out = put_integer(out, c.width);
        out = put_text(out, R"(" height=")");
        out = put_integer(out, std::max<std::int32_t>(c.height, 0));
        commit(doc_, put_line_end(put_text(out, R"(" stroke="#aaa"/>)")));
    }

    void square(const placement& p, bool named) override
    {
        // No shape has a side of 0 or less; the report names such squares.
        if (p.side <= 0) return;
        char side[short_text];
        const auto side_length = static_cast<std::size_t>(put_integer(side, p.side) - side);
        const std::int64_t depth = std::int64_t{height_} - p.top;

        char* out = reserve(doc_, 2 * longest_line);
        out = put_text(
            out, named ? R"(<rect class="square warning" x=")" : R"(<rect class="square" x=")");
        out = put_integer(out, p.column);
        out = put_text(out, R"(" y=")");
        out = put_integer(out, depth);
        out = put_text(out, R"(" width=")");
        out = put_short(out, side, side_length);
        out = put_text(out, R"(" height=")");
        out = put_short(out, side, side_length);
        out = put_text(out,
                       named ? R"(" stroke="#d00" fill="#e00" fill-opacity="0.25"/>)" : R"("/>)");
        out = put_line_end(out);
        out = put_text(out, R"(<text x=")");
        out = put_centre(out, 2 * p.column + p.side);
        out = put_text(out, R"(" y=")");
        out = put_centre(out, 2 * depth + p.side);
        out = put_text(out, R"(" font-size=")");
        out = put_font_size(out, p.side);
        // Digits stand about 0.7 em above the baseline: a drop of 0.35 em
        // centres them on y.
        out = put_text(out, R"(" dy=".35em" fill="#000" stroke="none">)");
        out = put_short(out, side, side_length);
        commit(doc_, put_line_end(put_text(out, "</text>")));
    }

    void frame_tail() override
    {
        write_line(doc_, "</svg>");
        close_document(doc_);
    }

private:
    // The side over its digit count (at least 2): the label then spans
    // about 0.6 of the square across and 0.36 up, clear of its corners.
    // Lists repeat a few sides many times over, so each is formatted once.
    char* put_font_size(char* out, std::int32_t side)
    {
        font_size& entry = font_sizes_[static_cast<std::uint32_t>(side) % 64];
        if (entry.length == 0 || entry.side != side) {
            const rounded size = round_significant(
                static_cast<double>(side) / std::max(2, digit_count(side)), font_size_digits);
            char text[longest_fixed];
            const char* end = put_trimmed(text, size.value, size.decimals);
            entry.side = side;
            entry.length = static_cast<std::uint8_t>(end - text);
            put_text(entry.text, {text, entry.length});
        }
        return put_short(out, entry.text, entry.length);
    }

    struct font_size {
        std::int32_t side = 0;
        std::uint8_t length = 0;  // 0: empty
        char text[short_text] = {};
    };

    document doc_;
    std::int32_t height_ = 0;
    font_size font_sizes_[64];
};

}  // namespace

std::unique_ptr<picture_writer> open_svg_picture(file_system& files, const std::string& path,
                                                  links how)
{
    return std::make_unique<svg_picture>(files, path, how);
}
