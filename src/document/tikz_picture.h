// The TikZ document: a standalone LaTeX page for pdflatex, cropped to the
// picture, which a paper can also \input.
#pragma once

#include <memory>
#include <string>

#include "document/picture_writer.h"

std::unique_ptr<picture_writer> open_tikz_picture(file_system& files, const std::string& path,
                                                  const picture_settings& settings);
