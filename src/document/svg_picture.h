// The SVG drawing, as a picture writer: a file a browser opens and a web
// page embeds, in the case's own units, y measured down from the top edge.
#pragma once

#include <memory>
#include <string>

#include "document/picture_writer.h"

std::unique_ptr<picture_writer> open_svg_picture(file_system& files, const std::string& path,
                                                 const picture_settings& settings);
