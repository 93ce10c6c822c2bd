#include "document/picture_writer.h"
#include "document/svg_picture.h"
#include "document/tex_picture.h"
#include "document/tikz_picture.h"

namespace {

const picture_format formats[] = {
    {"tex", "squares.tex", ".tex", false, open_tex_picture},
    {"svg", "squares.svg", ".svg", true, open_svg_picture},
    {"tikz", "squares-tikz.tex", "-tikz.tex", false, open_tikz_picture},
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

std::string format_names()
{
    std::string names;
    for (const picture_format& f : formats)
        names += (names.empty() ? "" : "|") + std::string(f.name);
    return names;
}

std::vector<std::string> format_extensions()
{
    std::vector<std::string> extensions;
    for (const picture_format& f : formats) extensions.emplace_back(f.extension);
    return extensions;
}
