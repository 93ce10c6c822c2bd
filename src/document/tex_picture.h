// The PSTricks document, as a picture writer.
#pragma once

#include <memory>
#include <string>

#include "document/picture_writer.h"

std::unique_ptr<picture_writer> open_tex_picture(file_system& files, const std::string& path,
                                                 const picture_settings& settings);
