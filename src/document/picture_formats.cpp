#include "document/pdf_picture.h"
#include "document/picture_writer.h"
#include "document/smith_picture.h"
#include "document/svg_picture.h"
#include "document/tex_picture.h"
#include "document/tikz_picture.h"

namespace {

const picture_format formats[] = {
    // The tex document keeps the previous squares.tex of a failed run.
    {"tex", "squares.tex", ".tex", false, false, false, false, open_tex_picture},
    {"svg", "squares.svg", ".svg", true, true, true, true, open_svg_picture},
    {"tikz", "squares-tikz.tex", "-tikz.tex", false, true, true, true, open_tikz_picture},
    {"pdf", "squares.pdf", ".pdf", false, true, true, true, open_pdf_picture},
    // A network needs every square placed: a failed case draws nothing.
    {"smith", "squares-smith.svg", "-smith.svg", true, true, false, false, open_smith_picture},
    {"smith-pdf", "squares-smith.pdf", "-smith.pdf", false, true, false, false,
     open_smith_pdf_picture},
};

}  // namespace

const picture_format* find_format(const std::string& name)
{
    for (const picture_format& f : formats) {
        if (name == f.name) return &f;
    }
    return nullptr;
}

const picture_format& default_format()
{
    return formats[0];
}

std::string format_names(bool sized_only)
{
    std::string names;
    for (const picture_format& f : formats) {
        if (f.sized || !sized_only) names += (names.empty() ? "" : "|") + std::string(f.name);
    }
    return names;
}

std::string outlined_words(std::size_t count)
{
    return "outlined: " + std::to_string(count) +
           (count == 1 ? " sub-rectangle" : " sub-rectangles");
}

std::string case_title(const square_case& c, std::size_t outlined)
{
    const std::size_t count = c.sides.size();
    std::string title = std::to_string(count) + (count == 1 ? " square in a " : " squares in a ") +
                        std::to_string(c.width) + " x " + std::to_string(c.height) +
                        (c.width == c.height ? " square" : " rectangle");
    if (outlined > 0) title += ", " + outlined_words(outlined);
    if (!c.caption.empty()) title += ": " + c.caption;
    return title;
}

std::vector<std::string> format_extensions()
{
    std::vector<std::string> extensions;
    for (const picture_format& f : formats) extensions.emplace_back(f.extension);
    return extensions;
}
