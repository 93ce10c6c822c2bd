// The text drawn for one placed square.
#pragma once

#include <cstdint>

#include "document/document.h"
#include "squares.h"

// The label line, then the outline. The placement's coordinates must fit in
// 32 bits, as the square loop checks.
void write_square_block(document& doc, const placement& p, std::int32_t width);

// The side, centred in the square and scaled to fit inside it.
void write_label(document& doc, const placement& p, std::int32_t width);

// Four segments from the top-left corner round the square, then the empty
// line that ends the block.
void write_outline(document& doc, const placement& p);
