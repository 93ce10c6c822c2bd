// Whether the tex document's A4 page shows its picture whole and to scale,
// as latex, dvips and ps2pdf typeset it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How TeX reads the length the document writes as "D.DDDDDDmm": in scaled
// points (sp, 1/65536 pt).
std::int64_t tex_length_sp(const char* millimetres);

// The picture of a rectangle `width` x `height` whose lowest square
// reaches y = `lowest` (the picture's own bottom, min(0, height), if none
// reaches lower): why the page does not show it as drawn, or nothing.
std::string a4_fit_problem(std::int32_t width, std::int32_t height, std::int64_t lowest);

// Why latex cannot typeset a document of this many squares at TeX's
// default memory, or nothing.
std::string tex_memory_problem(std::size_t squares);
