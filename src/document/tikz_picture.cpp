#include "document/tikz_picture.h"

#include <algorithm>

#include "analysis/structure.h"
#include "document/document.h"
#include "document/drawing_style.h"
#include "document/number_format.h"
#include "placement/place_squares.h"

namespace {

// Labels below this scale are left out. pdflatex itself takes any scale
// down to 0 (tried to 1e-7), but PGF holds it in TeX's fixed point, steps of
// 1/65536, so below 0.01 the size is off by more than a tenth of a percent,
// and the digits would be under 0.07 pt high: a dot, not a label. Leaving
// them out also spares TeX's memory, where a label costs some twenty times
// what an outline does.
constexpr double smallest_label_scale = 0.01;

// The tex document's label size: one digit 10 high and 5 wide at scale 1 in
// the square's extent in points (as 2.8353 per mm), the tighter direction
// deciding, halved. With the same unit it gives skal()'s value.
double label_scale(std::int32_t side, double unit_mm)
{
    return 0.5 * (side * unit_mm * 2.8353) / std::max(10, 5 * digit_count(side));
}

// Millimetres to a tenth of a micrometre, without trailing zeros:
// coordinates stay within the picture, so any length TeX reads is small.
// Every edge is rounded from its own whole-unit coordinate, so squares that
// meet share the same text.
char* put_mm(char* out, double mm)
{
    return put_trimmed(out, mm, 4);
}

// Each square is one macro call: PGF's basic layer takes about 245 words of
// TeX's memory and a third of the time of a TikZ \draw with a node (530
// words), so pdflatex typesets twice as many squares with its default
// memory. The outline is drawn in a group: PGF's path commands mix global
// and local assignments, which would otherwise pile up on TeX's save stack
// square after square until it overflows.
constexpr std::string_view picture_head[] = {
    "\\documentclass[tikz,border=2mm]{standalone}",
    "\\begin{document}",
    "\\begin{tikzpicture}[line width=0.1pt]",
    "  % \\sqo{x1}{y1}{x2}{y2}: a square's outline, from corner to corner in mm",
    "  \\def\\sqo#1#2#3#4{{\\pgfpathrectanglecorners{\\pgfpoint{#1mm}{#2mm}}"
    "{\\pgfpoint{#3mm}{#4mm}}\\pgfusepath{stroke}}}",
    "  % \\sq{x1}{y1}{x2}{y2}{cx}{cy}{scale}{side}: the outline and the side at the centre",
    "  \\def\\sq#1#2#3#4#5#6#7#8{\\sqo{#1}{#2}{#3}{#4}{\\pgftransformshift{\\pgfpoint{#5mm}{#6mm}}"
    "\\pgftransformscale{#7}\\pgftext{#8}}}",
    "  % \\named{...}: a square the tiling report names",
    "  "
    "\\def\\named#1{\\begin{pgfscope}\\pgfsetcolor{red}\\pgfsetlinewidth{0.4pt}#1\\end{pgfscope}}",
};

class tikz_picture : public picture_writer {
public:
    tikz_picture(file_system& files, const std::string& path, const picture_settings& settings)
        : doc_(files, path, settings.how),
          size_mm_(settings.size_mm > 0 ? settings.size_mm : default_size_mm)
    {
    }

    void subrectangles(const std::vector<sub_rectangle>& list) override { outlines_ = list; }

    void frame_head(const square_case& c) override
    {
        height_ = c.height;
        const drawing_extent extent = extent_of(c);
        // The rectangle spans y = 0 .. height; squares hang from its top
        // edge, possibly below the bottom one.
        const std::int64_t top = std::max<std::int64_t>(0, c.height);
        const std::int64_t bottom = std::min<std::int64_t>({0, c.height, c.height - extent.bottom});
        // The frame's longer side is size_mm_, whatever the rectangle's shape.
        const frame_scale scale = scale_frame(c, std::max(extent.right, top - bottom), size_mm_);
        unit_mm_ = scale.mm;
        if (!scale.caveat.empty()) caveats_.push_back(scale.caveat);

        for (const std::string_view line : picture_head) write_line(doc_, line);
        char* out = reserve(doc_, 2 * longest_line);
        // The bounding box first, so that nothing drawn after it (a label's
        // margin, half a line width) changes the page's size.
        out = put_text(out, "  \\path[use as bounding box] ");
        out = put_rectangle(out, bottom, extent.right, top);
        out = put_text(out, "  \\draw[gray!50,line width=0.4pt] ");
        out = put_rectangle(out, 0, c.width, c.height);
        commit(doc_, out);
    }

    void square(const placement& p, bool named) override
    {
        if (p.side < 1) return;
        const double scale = label_scale(p.side, unit_mm_);
        const bool labelled = scale >= smallest_label_scale;
        char* out = reserve(doc_, longest_line);
        out = put_text(out, named ? "  \\named{" : "  ");
        out = put_text(out, labelled ? "\\sq{" : "\\sqo{");
        out = put_mm(out, p.column * unit_mm_);
        out = put_text(out, "}{");
        out = put_mm(out, p.top * unit_mm_);
        out = put_text(out, "}{");
        out = put_mm(out, (p.column + p.side) * unit_mm_);
        out = put_text(out, "}{");
        out = put_mm(out, (p.top - p.side) * unit_mm_);
        if (labelled) {
            out = put_text(out, "}{");
            out = put_mm(out, (p.column + 0.5 * p.side) * unit_mm_);
            out = put_text(out, "}{");
            out = put_mm(out, (p.top - 0.5 * p.side) * unit_mm_);
            out = put_text(out, "}{");
            out = put_trimmed(out, scale, 5);
            out = put_text(out, "}{");
            out = put_integer(out, p.side);
        }
        out = put_text(out, named ? "}}" : "}");
        commit(doc_, put_line_end(out));
    }

    void frame_tail() override
    {
        // Over the squares, as the SVG and PDF draw them; each line ends in
        // the sub-rectangle as the check prints it.
        if (!outlines_.empty()) write_line(doc_, "  % " + outlined_words(outlines_.size()));
        for (const sub_rectangle& r : outlines_) {
            const std::int64_t top = std::int64_t{height_} - r.y;
            char* out = reserve(doc_, 2 * longest_line);
            out = put_text(out, "  \\draw[blue!80!black,dashed,line width=0.8pt] (");
            out = put_mm(out, r.x * unit_mm_);
            out = put_text(out, "mm,");
            out = put_mm(out, (top - r.height) * unit_mm_);
            out = put_text(out, "mm) rectangle (");
            out = put_mm(out, (std::int64_t{r.x} + r.width) * unit_mm_);
            out = put_text(out, "mm,");
            out = put_mm(out, top * unit_mm_);
            out = put_text(out, "mm); % ");
            commit(doc_, out);
            write_line(doc_, subrectangle_list({r}));
        }
        write_line(doc_, "\\end{tikzpicture}");
        write_line(doc_, "\\end{document}");
        close_document(doc_);
    }

    std::vector<std::string> caveats() const override { return caveats_; }

private:
    // "(0mm,Ymm) rectangle (Xmm,Ymm);" from (0, y0) to (x, y), and the line end.
    char* put_rectangle(char* out, std::int64_t y0, std::int64_t x, std::int64_t y) const
    {
        out = put_text(out, "(0mm,");
        out = put_mm(out, y0 * unit_mm_);
        out = put_text(out, "mm) rectangle (");
        out = put_mm(out, x * unit_mm_);
        out = put_text(out, "mm,");
        out = put_mm(out, y * unit_mm_);
        return put_line_end(put_text(out, "mm);"));
    }

    document doc_;
    double size_mm_;
    double unit_mm_ = 1;
    std::int32_t height_ = 0;
    std::vector<sub_rectangle> outlines_;
    std::vector<std::string> caveats_;
};

}  // namespace

std::unique_ptr<picture_writer> open_tikz_picture(file_system& files, const std::string& path,
                                                  const picture_settings& settings)
{
    return std::make_unique<tikz_picture>(files, path, settings);
}
