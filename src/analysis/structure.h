// How a dissection is built: simple, trivially compound (a square as wide
// or as high as the whole) or compound, and its maximal sub-rectangles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/case_check.h"

enum class structure_kind { simple, trivially_compound, compound };

// Whether a square is as wide or as high as the width x height rectangle.
bool has_full_square(const std::vector<square_box>& squares, std::int64_t width,
                     std::int64_t height);

// The sub-rectangles of a dissection of the width x height rectangle that
// lie in no other one, by the depth of their tops, then from left to right.
// They may overlap: three stacked pieces A, B, C give A+B and B+C.
std::vector<sub_rectangle> maximal_subrectangles(const std::vector<square_box>& squares,
                                                 std::int64_t width, std::int64_t height);

// The same by the search on runs of edges that cases of more than 64
// lines both ways take, whatever the case (the tests hold both to one model).
std::vector<sub_rectangle> maximal_subrectangles_on_runs(const std::vector<square_box>& squares,
                                                         std::int64_t width, std::int64_t height);

// The search above takes time up to quadratic in the squares: this form
// gives up, returning false with `list` empty, on a case of more than
// most_listed_squares squares or once it has tried most_tried_pairs pairs.
constexpr std::size_t most_listed_squares = 1 << 16;
constexpr std::int64_t most_tried_pairs = std::int64_t{1} << 28;
bool list_maximal_subrectangles(const std::vector<square_box>& squares, std::int64_t width,
                                std::int64_t height, std::vector<sub_rectangle>& list);

// "simple", "trivially compound" or "compound".
const char* structure_name(structure_kind kind);
// A verdict's, for a dissection.
structure_kind structure_of(const case_verdict& verdict);

// The list as the check prints it: "WxH@X,Y" each, separated by spaces.
std::string subrectangle_list(const std::vector<sub_rectangle>& list);
