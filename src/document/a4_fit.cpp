#include "document/a4_fit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "document/number_format.h"
#include "document/skal.h"

namespace {

// The page as the document's geometry sets it, in sp, read back from latex
// (\number\textheight and so on): the text area is 257 mm high; the paper
// ends 277 mm below the text area's top; the first line's baseline lies at
// least \topskip (10 pt) below that top.
constexpr std::int64_t text_height = 47922272;
constexpr std::int64_t paper_below_text_top = 55380990 - 3729359;  // \paperheight - top margin
constexpr std::int64_t top_skip = 655360;
// TeX's largest length, 2^30 - 1 sp: a coordinate past it stops latex.
constexpr std::int64_t max_dimen = 1073741823;

double to_mm(std::int64_t sp)
{
    return static_cast<double>(sp) * 2540 / 7227 / 65536;
}

std::string mm_text(std::int64_t sp)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f mm", to_mm(sp));
    return text;
}

}  // namespace

// TeX's scan_dimen: the decimals are rounded to a multiple of 2^-16 (in
// millimetres: round_decimals), then the length is converted at 7227/2540
// points a millimetre, truncating to whole sp (xn_over_d).
std::int64_t tex_length_sp(const char* millimetres)
{
    const char* at = millimetres;
    std::int64_t whole = 0;
    for (; *at >= '0' && *at <= '9'; ++at) whole = 10 * whole + (*at - '0');
    const char* digits = *at == '.' ? at + 1 : at;
    int count = 0;
    while (count < 17 && digits[count] >= '0' && digits[count] <= '9') ++count;
    std::int64_t a = 0;
    for (int k = count - 1; k >= 0; --k) a = (a + (digits[k] - '0') * 131072) / 10;
    std::int64_t fraction = (a + 1) / 2;
    const std::int64_t product = whole * 7227;
    std::int64_t points = product / 2540;
    fraction = (7227 * fraction + 65536 * (product % 2540)) / 2540;
    points += fraction / 65536;
    return points * 65536 + fraction % 65536;
}

// Found by typesetting with latex, dvips and ps2pdf (as tests/typeset.sh
// does) and measuring the PDF: pages with pdfinfo, the drawing's extent
// with gs -sDEVICE=bbox.
// - The document writes the unit 150/width mm with six decimals, and every
//   coordinate is an integer times the unit TeX makes of it, so the
//   picture is width * unit sp wide (checked to 0.05 mm at 12 widths from
//   79596 to 2.5*10^7). Widths up to 79596 draw within 1 mm of 150 mm;
//   79597 draws 149.0 mm; beyond that most widths are off (7*10^6: 75.1
//   mm; 1.9*10^7: 203.8 mm, past the paper's edge), and from about 2*10^7
//   the unit is 0 sp and no square is drawn. More than 1 mm off is a
//   warning; the labels are sized for 150 mm whatever TeX draws.
// - The picture's box is |height| * unit sp high. Up to the text height it
//   is one page; 1 sp more (height 23961136 against 23961137 at width
//   10^7, whose unit is 2 sp) and LaTeX leaves the first page blank and
//   puts the picture on the second. (A width of 100 fits up to a height
//   of 171.) A coordinate past TeX's largest length stops latex with
//   "Dimension too large" (height 536870911 typesets at width 10^7, one
//   more does not).
// - Squares below the picture's bottom edge (or all of them, for a height
//   of 0 or less) hang below its baseline, which TeX does not count: past
//   the paper's bottom they are cut off (measured to 1 mm either side).
std::string a4_fit_problem(std::int32_t width, std::int32_t height, std::int64_t lowest)
{
    char unit_text[longest_fixed];
    *put_fixed(unit_text, picture_unit(width)) = '\0';
    const std::int64_t unit = tex_length_sp(unit_text);
    const std::int64_t intended = tex_length_sp("150");
    const std::int64_t drawn = width * unit;

    std::string problems;
    const auto add = [&](const std::string& problem) {
        problems += (problems.empty() ? "" : "; ") + problem;
    };
    if (unit == 0) {
        add("TeX reads the unit of " + std::string(unit_text) + " mm that a width of " +
            std::to_string(width) + " needs as 0 and draws no squares");
    } else if (std::llabs(drawn - intended) > tex_length_sp("1")) {
        add("TeX rounds the unit of " + std::string(unit_text) + " mm that a width of " +
            std::to_string(width) + " needs, and draws the picture " + mm_text(drawn) +
            " wide instead of 150 mm");
    }
    const std::int64_t box = std::llabs(std::int64_t{height}) * unit;
    const std::int64_t below = (std::min<std::int64_t>(0, height) - lowest) * unit;
    const std::int64_t reach = std::max(box, top_skip) + below;
    if (std::max(box, -lowest * unit) > max_dimen) {
        add("TeX stops with \"Dimension too large\": the picture reaches " +
            mm_text(std::max(box, -lowest * unit)) + " from its origin, more than TeX's 5758 mm");
    } else if (box > text_height) {
        add("the picture is " + mm_text(box) +
            " high, more than the page's 257 mm: LaTeX leaves the first page blank and puts it "
            "on the second" +
            (reach > paper_below_text_top ? ", cut off 277 mm below the top of the text" : ""));
    } else if (reach > paper_below_text_top) {
        add("squares reach " + mm_text(reach) +
            " below the top of the text, past the bottom of the paper at 277 mm, and are cut off");
    }
    if (problems.empty()) return problems;
    return "the A4 document does not show the picture as drawn: " + problems +
           " (-f pdf draws it whole and to scale)";
}

// Found by typesetting grids of unit squares with latex at its default
// memory (TeX Live 2022, main memory 5,000,000 words): 739 squares typeset,
// 740 stop with "TeX capacity exceeded, sorry [main memory size=5000000]",
// at widths 5, 50 and 1000 and for sides of 1 to 10 digits alike: each
// square costs the same (its label, its four lines), whatever its size.
std::string tex_memory_problem(std::size_t squares)
{
    constexpr std::size_t most_squares = 739;
    if (squares <= most_squares) return {};
    return "latex stops with \"TeX capacity exceeded\" at its default memory, which holds " +
           std::to_string(most_squares) + " squares and not this picture's " +
           std::to_string(squares) +
           ": run it with more (extra_mem_top=250000000 extra_mem_bot=20000000 latex ...)";
}
