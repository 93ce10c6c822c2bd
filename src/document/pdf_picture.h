// The PDF drawing, as a picture writer: one page the size of the drawing
// and a small margin, for any viewer or printer; no library needed.
#pragma once

#include <memory>
#include <string>

#include "document/picture_writer.h"

std::unique_ptr<picture_writer> open_pdf_picture(file_system& files, const std::string& path,
                                                 const picture_settings& settings);
