// One entry of a catalogue's gallery: a case's thumbnail and caption, or
// the line that could not be read, as the HTML of a <figure>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/case_check.h"
#include "squares.h"

// One entry, formed by whichever thread handled its case.
struct gallery_entry {
    std::string html;      // the <figure> element
    bool failed = false;   // unreadable or not drawn
    bool checked = false;  // the verdict below is known
    case_verdict verdict;
};

// A case drawn into `drawing`, or not drawn (`drawing` empty) for `failure`;
// `code` is what its caption shows of it to be copied (the canonical code,
// or the line as given), printable on one line; `outlined`, how many
// sub-rectangles the drawing outlines. `smith`, when not empty, is the
// case's Smith diagram, shown beside its drawing in a wider entry.
gallery_entry case_entry(std::int64_t number, std::int64_t line, const square_case& c,
                         const case_verdict& verdict, const std::string& drawing,
                         const std::string& failure, const std::string& code,
                         std::size_t outlined = 0, const std::string& smith = "");

// A line that could not be read; `code` the line as given, `caption` what
// it has after a *.
gallery_entry unreadable_entry(std::int64_t number, std::int64_t line, const std::string& message,
                               const std::string& code, const std::string& caption);
