// The TikZ document, written through a file system in memory.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "document/case_report.h"
#include "memory_files.h"
#include "placement/place_squares.h"
#include "test_cases.h"

namespace {

// The case's TikZ document, opened as a run without --output opens it.
std::string tikz_document(const square_case& c, const picture_settings& settings = {})
{
    const picture_format& format = *find_format("tikz");
    memory_files fs;
    tiling_report report(c.height);
    draw_case(c, *format.open(fs, format.default_path, settings), report);
    return fs.files.at("squares-tikz.tex");
}

// The lines that draw squares, without their indent.
std::string square_lines(const std::string& text)
{
    std::string lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("  \\sq", 0) == 0 || line.rfind("  \\named", 0) == 0)
            lines += line.substr(2) + "\n";
    return lines;
}

TEST(Tikz, ThreeSquaresWholeDocument)
{
    EXPECT_EQ(tikz_document(make_case(3, 2, {2, 1, 1})),
              "\\documentclass[tikz,border=2mm]{standalone}\n"
              "\\begin{document}\n"
              "\\begin{tikzpicture}[line width=0.1pt]\n"
              "  % \\sqo{x1}{y1}{x2}{y2}: a square's outline, from corner to corner in mm\n"
              "  \\def\\sqo#1#2#3#4{{\\pgfpathrectanglecorners{\\pgfpoint{#1mm}{#2mm}}"
              "{\\pgfpoint{#3mm}{#4mm}}\\pgfusepath{stroke}}}\n"
              "  % \\sq{x1}{y1}{x2}{y2}{cx}{cy}{scale}{side}: the outline and the side at the "
              "centre\n"
              "  \\def\\sq#1#2#3#4#5#6#7#8{\\sqo{#1}{#2}{#3}{#4}{\\pgftransformshift{\\pgfpoint{#"
              "5mm}{#6mm}}\\pgftransformscale{#7}\\pgftext{#8}}}\n"
              "  % \\named{...}: a square the tiling report names\n"
              "  \\def\\named#1{\\begin{pgfscope}\\pgfsetcolor{red}\\pgfsetlinewidth{0.4pt}#1"
              "\\end{pgfscope}}\n"
              "  \\path[use as bounding box] (0mm,0mm) rectangle (150mm,100mm);\n"
              "  \\draw[gray!50,line width=0.4pt] (0mm,0mm) rectangle (150mm,100mm);\n"
              "  \\sq{0}{100}{100}{0}{50}{50}{14.1765}{2}\n"
              "  \\sq{100}{100}{150}{50}{125}{75}{7.08825}{1}\n"
              "  \\sq{100}{50}{150}{0}{125}{25}{7.08825}{1}\n"
              "\\end{tikzpicture}\n"
              "\\end{document}\n");
}

// The picture's bounding box and frame (empty: the same as the box) and each drawn square, in
// millimetres, the frame 150 on its longer side whatever the shape or the width.
TEST(Tikz, PositionsAndLabels)
{
    const struct {
        const char* what;
        square_case c;
        std::string box, frame, squares;
        double size_mm = 0;
    } rows[] = {
        {"tall: 75 x 150 mm", make_case(2, 4, {2, 2}), "(0mm,0mm) rectangle (75mm,150mm)", "",
         "\\sq{0}{150}{75}{75}{37.5}{112.5}{10.63237}{2}\n"
         "\\sq{0}{75}{75}{0}{37.5}{37.5}{10.63237}{2}\n"},
        {"a square below the bottom is named and kept on the page",
         make_case(4, 3, {1, 1, 2, 1, 3}), "(0mm,-37.5mm) rectangle (150mm,112.5mm)",
         "(0mm,0mm) rectangle (150mm,112.5mm)",
         "\\sq{0}{112.5}{37.5}{75}{18.75}{93.75}{5.31619}{1}\n"
         "\\sq{37.5}{112.5}{75}{75}{56.25}{93.75}{5.31619}{1}\n"
         "\\sq{75}{112.5}{150}{37.5}{112.5}{75}{10.63237}{2}\n"
         "\\sq{0}{75}{37.5}{37.5}{18.75}{56.25}{5.31619}{1}\n"
         "\\named{\\sq{37.5}{75}{150}{-37.5}{93.75}{18.75}{15.94856}{3}}\n"},
        {"sides 0 and -2 are not drawn", make_case(3, 1, {0, 1, -2, 2}),
         "(0mm,-50mm) rectangle (150mm,50mm)", "(0mm,0mm) rectangle (150mm,50mm)",
         "\\sq{0}{50}{50}{0}{25}{25}{7.08825}{1}\n"
         "\\named{\\sq{50}{50}{150}{-50}{100}{0}{14.1765}{2}}\n"},
        {"height below 0: the width sets the scale, the square hangs beyond the frame",
         make_case(2, -1, {2}), "(0mm,-225mm) rectangle (150mm,0mm)",
         "(0mm,0mm) rectangle (150mm,-75mm)",
         "\\named{\\sq{0}{-75}{150}{-225}{75}{-150}{21.26475}{2}}\n"},
        {"2*10^9 wide", make_case(2000000000, 1000000000, {1000000000, 1000000000}),
         "(0mm,0mm) rectangle (150mm,75mm)", "",
         "\\sq{0}{75}{75}{0}{37.5}{37.5}{2.12648}{1000000000}\n"
         "\\sq{75}{75}{150}{0}{112.5}{37.5}{2.12648}{1000000000}\n"},
        {"a unit square in a width of 2*10^9 keeps its outline, not its label",
         make_case(2000000000, 1000000000, {1, 1999999999}), "(0mm,-75mm) rectangle (150mm,75mm)",
         "(0mm,0mm) rectangle (150mm,75mm)",
         "\\sqo{0}{75}{0}{75}\n\\named{\\sq{0}{75}{150}{-75}{75}{0}{4.25295}{1999999999}}\n"},
        {"the smallest label kept", make_case(2126, 1, {1}), "(0mm,0mm) rectangle (150mm,0.0706mm)",
         "", "\\sq{0}{0.0706}{0.0706}{0}{0.0353}{0.0353}{0.01}{1}\n"},
        {"the largest label left out", make_case(2127, 1, {1}),
         "(0mm,0mm) rectangle (150mm,0.0705mm)", "", "\\sqo{0}{0.0705}{0.0705}{0}\n"},
        {"--size 3in: 76.2 mm on the longer side, labels to scale", make_case(2, 4, {2, 2}),
         "(0mm,0mm) rectangle (38.1mm,76.2mm)", "",
         "\\sq{0}{76.2}{38.1}{38.1}{19.05}{57.15}{5.40125}{2}\n"
         "\\sq{0}{38.1}{38.1}{0}{19.05}{19.05}{5.40125}{2}\n",
         76.2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string text = tikz_document(r.c, {r.size_mm});
        EXPECT_NE(text.find("  \\path[use as bounding box] " + r.box +
                            ";\n  \\draw[gray!50,line width=0.4pt] " +
                            (r.frame.empty() ? r.box : r.frame) + ";\n"),
                  std::string::npos)
            << text;
        EXPECT_EQ(square_lines(text), r.squares);
    }
}

// Squares so far below a small frame that it at its size would make a
// drawing past 5000 mm: the drawing is 5000 mm and says how large the frame is.
TEST(Tikz, FarBeyondTheFrameTheDrawingIsCapped)
{
    memory_files fs;
    tiling_report report(1);
    const auto picture = find_format("tikz")->open(fs, "t.tex", {});
    draw_case(make_case(2, 1, std::vector<std::int32_t>(202, 1)), *picture, report);
    EXPECT_NE(fs.files.at("t.tex").find("(0mm,-4950.495mm) rectangle (99.0099mm,49.505mm);"),
              std::string::npos);
    EXPECT_EQ(picture->caveats(),
              std::vector<std::string>{"the squares reach so far beyond the frame that a frame "
                                       "of 150 mm would make the drawing 7575 mm; it is drawn "
                                       "5000 mm on its longer side, the frame 99 mm"});
}

// A square that cannot be placed fails the drawing at that square, after
// the report has noted the squares before it, and leaves no file.
TEST(Tikz, UnplaceableSquareFailsAfterTheWarningsBeforeIt)
{
    memory_files fs;
    tiling_report report(2);
    EXPECT_THROW(
        draw_case(make_case(3, 2, {2, 0, 5}), *find_format("tikz")->open(fs, "out.tex", {}), report),
        placement_error);
    EXPECT_EQ(report.warnings.size(), 1u);
    EXPECT_TRUE(fs.files.empty());
}

}  // namespace
