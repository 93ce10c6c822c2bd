// The Smith diagram of a dissection, as SVG (Brooks, Smith, Stone and
// Tutte): each node of its electrical network a horizontal line at its
// potential, the height of its segment, spanning the segment; each square
// a vertical edge from its top segment to its bottom one at its centre,
// as long as its side and labelled with it; the battery, dashed and red,
// from the top pole round the right to the bottom pole.
#pragma once

#include <memory>
#include <string>

#include "document/picture_writer.h"

std::unique_ptr<picture_writer> open_smith_picture(file_system& files, const std::string& path,
                                                   const picture_settings& settings);
