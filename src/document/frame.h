// The fixed lines before the first square and after the last.
#pragma once

#include <cstdint>

#include "document/document.h"

// Page set-up, the picture unit and the picture's bounding box, then an empty line.
void write_frame_head(document& doc, std::int32_t width, std::int32_t height);

// Closes the picture and the document, then completes the file.
void write_frame_tail(document& doc);
