// A PDF file written front to back through a document: numbered objects in
// any order, each one's offset kept for the cross-reference table that
// ends the file. Every line ends in "\n" on every platform: the offsets
// count bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "document/document.h"

struct pdf_file {
    explicit pdf_file(document& d);
    document& doc;
    std::vector<std::uint64_t> offsets;  // by object number; 0: not written yet
};

// Starts object `number` ("N 0 obj") where the document stands.
void begin_object(pdf_file& pdf, std::size_t number);

// A whole object: "N 0 obj", the body, "endobj".
void write_object(pdf_file& pdf, std::size_t number, std::string_view body);

// The cross-reference table of objects 1 to `count` (each written by now)
// and the trailer; then the document is closed and takes its name.
void finish_pdf(pdf_file& pdf, std::size_t count, std::size_t root, std::size_t info);

// "N 0 R".
std::string reference(std::size_t number);
