#include "document/svg_picture.h"

#include <algorithm>
#include <cstdint>

#include "document/document.h"
#include "document/drawing_style.h"
#include "document/number_format.h"
#include "placement/place_squares.h"
#include "shown_text.h"

namespace {

class svg_picture : public picture_writer {
public:
    svg_picture(file_system& files, const std::string& path, const picture_settings& settings)
        : doc_(files, path, settings.how), size_mm_(settings.size_mm)
    {
    }

    void subrectangles(const std::vector<sub_rectangle>& list) override { outlines_ = list; }

    void frame_head(const square_case& c) override
    {
        height_ = c.height;
        const drawing_extent extent = extent_of(c);
        const std::int64_t depth = std::max<std::int64_t>(c.height, extent.bottom);
        const rounded line = line_width(c, depth);
        longer_ = std::max<std::int64_t>(extent.right, depth);
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
        out = put_extent(out, extent.right);
        out = put_text(out, " ");
        out = put_extent(out, depth);
        if (size_mm_ > 0) {
            // Printed at this size: the longer side of the frame is size_mm_
            // (the margin adds a little).
            const frame_scale scale = scale_frame(c, std::max(extent.right, depth), size_mm_);
            if (!scale.caveat.empty()) caveats_.push_back(scale.caveat);
            const double mm = scale.mm;
            out = put_text(out, R"(" width=")");
            out = put_trimmed(out, (static_cast<double>(extent.right) + 2 * line.value) * mm, 3);
            out = put_text(out, R"(mm" height=")");
            out = put_trimmed(out, (static_cast<double>(depth) + 2 * line.value) * mm, 3);
            out = put_text(out, "mm");
        }
        // Presentation attributes, inherited, so that any style sheet of a
        // page that holds the drawing overrides them.
        out = put_text(out, R"(" fill="none" stroke="#000" stroke-width=")");
        out = put_trimmed(out, line.value, line.decimals);
        commit(doc_,
               put_line_end(put_text(out, R"(" font-family="sans-serif" text-anchor="middle">)")));
        // A caption makes the title as long as it is.
        write_line(doc_, "<title>" + escaped_markup(case_title(c, outlines_.size())) + "</title>");
        out = reserve(doc_, 2 * longest_line);
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
        // A label under 6 px in a gallery's thumbnail (200 px) cannot be
        // read there: the style at the end hides it at such sizes only.
        const bool small = static_cast<double>(p.side) / std::max(2, digit_count(p.side)) <
                           0.03 * static_cast<double>(longer_);
        any_small_ = any_small_ || small;
        out = put_text(out, small ? R"(<text class="small" x=")" : R"(<text x=")");
        out = put_centre(out, 2 * p.column + p.side);
        out = put_text(out, R"(" y=")");
        out = put_centre(out, 2 * depth + p.side);
        out = put_text(out, R"(" font-size=")");
        out = label_sizes_.put(out, p.side);
        // Digits stand about 0.7 em above the baseline: a drop of 0.35 em
        // centres them on y.
        out = put_text(out, R"(" dy=".35em" fill="#000" stroke="none">)");
        out = put_short(out, side, side_length);
        commit(doc_, put_line_end(put_text(out, "</text>")));
    }

    void frame_tail() override
    {
        // Over the squares, so that no square's line hides one.
        for (const sub_rectangle& r : outlines_) put_outline(r);
        if (any_small_)
            write_line(doc_,
                       "<style>@media (max-width: 250px) { .small { display: none } }</style>");
        write_line(doc_, "</svg>");
        close_document(doc_);
    }

    std::vector<std::string> caveats() const override { return caveats_; }

private:
    // Wide, dashed, blue: it stands apart from the squares' black lines
    // and the warnings' red.
    void put_outline(const sub_rectangle& r)
    {
        char* out = reserve(doc_, 3 * longest_line);
        out = put_text(out, R"(<rect class="subrectangle" x=")");
        out = put_integer(out, r.x);
        out = put_text(out, R"(" y=")");
        out = put_integer(out, r.y);
        out = put_text(out, R"(" width=")");
        out = put_integer(out, r.width);
        out = put_text(out, R"(" height=")");
        out = put_integer(out, r.height);
        const outline_stroke stroke = outline_stroke_for(static_cast<double>(longer_));
        out = put_text(out, R"(" stroke="#06c" stroke-width=")");
        out = put_trimmed(out, stroke.width.value, stroke.width.decimals);
        out = put_text(out, R"(" stroke-dasharray=")");
        out = put_trimmed(out, stroke.dash.value, stroke.dash.decimals);
        out = put_text(out, " ");
        out = put_trimmed(out, stroke.gap.value, stroke.gap.decimals);
        commit(doc_, put_line_end(put_text(out, R"("/>)")));
    }

    document doc_;
    double size_mm_;
    std::vector<sub_rectangle> outlines_;
    std::int32_t height_ = 0;
    std::int64_t longer_ = 0;
    bool any_small_ = false;
    label_sizes label_sizes_;
    std::vector<std::string> caveats_;
};

}  // namespace

std::unique_ptr<picture_writer> open_svg_picture(file_system& files, const std::string& path,
                                                 const picture_settings& settings)
{
    return std::make_unique<svg_picture>(files, path, settings);
}
