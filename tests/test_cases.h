// Cases and documents shared by the tests.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "squares.h"

// The document for the case 3 3 2 2 1 1: three squares in a 3 x 2 rectangle.
inline const char* const three_squares_document =
    "\\documentclass[a4paper]{article}\n"
    "  \\usepackage[left=2cm,right=2cm,top=2cm,bottom=2cm]{geometry}\n"
    "  \\usepackage{pstricks-add}\n"
    "\\begin{document}\n"
    "  \\thispagestyle{empty}\n"
    "  \\psset{unit=50.000000mm}\n"
    "  \\begin{pspicture}(0,0)(3,2)\n"
    "\n"
    "    \\rput(1.000000,1.000000){\\psscalebox{14.176500}{2}}\n"
    "    \\psline[linewidth=0.1pt](0,2)(0,0)\n"
    "    \\psline[linewidth=0.1pt](0,0)(2,0)\n"
    "    \\psline[linewidth=0.1pt](2,0)(2,2)\n"
    "    \\psline[linewidth=0.1pt](2,2)(0,2)\n"
    "\n"
    "    \\rput(2.500000,1.500000){\\psscalebox{7.088250}{1}}\n"
    "    \\psline[linewidth=0.1pt](2,2)(2,1)\n"
    "    \\psline[linewidth=0.1pt](2,1)(3,1)\n"
    "    \\psline[linewidth=0.1pt](3,1)(3,2)\n"
    "    \\psline[linewidth=0.1pt](3,2)(2,2)\n"
    "\n"
    "    \\rput(2.500000,0.500000){\\psscalebox{7.088250}{1}}\n"
    "    \\psline[linewidth=0.1pt](2,1)(2,0)\n"
    "    \\psline[linewidth=0.1pt](2,0)(3,0)\n"
    "    \\psline[linewidth=0.1pt](3,0)(3,1)\n"
    "    \\psline[linewidth=0.1pt](3,1)(2,1)\n"
    "\n"
    "  \\end{pspicture}\n"
    "\\end{document}\n";

inline square_case make_case(std::int32_t width, std::int32_t height,
                             std::vector<std::int32_t> sides)
{
    square_case c;
    c.count = static_cast<std::int32_t>(sides.size());
    c.width = width;
    c.height = height;
    c.sides = std::move(sides);
    return c;
}
