// The Smith diagram of a dissection, as SVG (Brooks, Smith, Stone and
// Tutte): each node of its electrical network a horizontal line at its
// potential, the height of its segment, spanning the segment; each square
// a vertical edge from its top segment to its bottom one at its centre,
// as long as its side and labelled with it; the battery, dashed and red,
// from the top pole round the right to the bottom pole. As PDF too, of one
// layout (smith_layout.h).
#pragma once

#include <memory>
#include <string>

#include "document/number_format.h"
#include "document/picture_writer.h"

struct smith_layout;

std::unique_ptr<picture_writer> open_smith_picture(file_system& files, const std::string& path,
                                                   const picture_settings& settings);

std::unique_ptr<picture_writer> open_smith_pdf_picture(file_system& files, const std::string& path,
                                                       const picture_settings& settings);

// Points a unit of the PDF drawing: its longer side, margins and battery
// included, `size_mm` long (0: the default size).
rounded smith_pdf_scale(const smith_layout& layout, double size_mm);
