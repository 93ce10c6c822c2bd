// Reading a catalogue: many cases in one file, one case per line.
#pragma once

#include <cstdint>
#include <cstdio>

#include "squares.h"
#include "value_reader.h"

// Where a case of a catalogue stands: its number (1 for the first line that
// is neither blank nor a comment) and its line in the file.
struct catalogue_position {
    std::int64_t number = 0;
    std::int64_t line = 0;
};

// Each line holds one case: count, width, height and the sides, read as in a
// case file; whatever follows the last side on its line is a note. Blank
// lines and lines whose first non-blank character is # are skipped. Reads
// one case at a time, so memory does not grow with the catalogue.
class catalogue_reader {
public:
    explicit catalogue_reader(std::FILE* stream);

    // The next case into `c`, with its number and line into `where`; false at
    // the end of the file. Throws conversion_error for a line that cannot be
    // read (`where` is set, and the rest of the line is skipped, so the next
    // call goes on with the next line), and for a failed read of the stream,
    // after which the catalogue counts as ended.
    bool next(square_case& c, catalogue_position& where);

private:
    value_reader reader_;
    std::int64_t number_ = 0;
};
