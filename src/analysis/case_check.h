// What a case is: a dissection of its rectangle into squares, perfect
// (no two sides alike), simple (no two or more of its squares, short of
// all of them, form a rectangle).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/check_workspace.h"
#include "analysis/tiling_report.h"
#include "placement/place_squares.h"

// Places the case's squares into `boxes`, reusing `sky`: `problem` gets the
// first thing that keeps them from dissecting the rectangle (empty for
// none), `failure` the square that could not be placed.
void place_boxes(const square_case& c, skyline& sky, std::vector<square_box>& boxes,
                 std::string& problem, std::string& failure);

// Places the case's squares to judge it.
case_verdict check_case(const square_case& c);
case_verdict check_case(const square_case& c, check_workspace& work);

// Whether no two of the squares have the same side (a perfect dissection),
// for squares no wider than `width`.
bool all_sides_differ(const std::vector<square_box>& squares, std::int64_t width,
                      check_workspace& work);
