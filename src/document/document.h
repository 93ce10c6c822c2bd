// A document: squares.tex, another drawing or a gallery page, written
// through an output file (files/output_file.h), whole or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/number_format.h"
#include "files/file_system.h"
#include "files/output_file.h"

// An output file that keeps, besides, the label scales it has formatted.
struct document : output_file {
    using output_file::output_file;

    // Label scales already formatted, by side: lists repeat a few sides
    // many times over.
    struct scale_entry {
        std::int32_t side = 0;
        std::int32_t width = 0;
        std::uint8_t length = 0;  // 0: empty
        char text[short_text] = {};
    };
    scale_entry scales[64];
};

// Room for any one line of the document, numbers included.
constexpr std::size_t longest_line = 2 * longest_fixed;

// Creates the document "squares.tex" in the working directory.
document open_document(file_system& files);

// The bytes written so far, where the next one goes in the file.
std::uint64_t document_offset(const document& doc);

// Writes out what is left, closes the file and gives it its name.
void close_document(document& doc);
