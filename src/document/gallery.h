// index.html beside a catalogue's SVG drawings: every drawing in catalogue
// order with what the check says of it, loaded as it scrolls into view.
#pragma once

#include <cstdint>
#include <string>

#include "document/document.h"
#include "analysis/case_check.h"
#include "squares.h"

struct gallery_entry {
    std::int64_t number = 0;
    std::int64_t line = 0;
    std::string drawing;  // the file name, empty when the case could not be drawn
    std::string failure;  // why not
};

// Starts the page; `title` names the catalogue.
void write_gallery_head(document& page, const std::string& title);

void write_gallery_entry(document& page, const gallery_entry& entry, const square_case& c,
                         const case_verdict& verdict);

// A line that could not be read.
void write_gallery_failure(document& page, std::int64_t line, const std::string& message);

// Ends the page and completes its file.
void write_gallery_tail(document& page);
