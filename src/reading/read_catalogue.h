// Reading a catalogue: many cases in one file, one case per line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "squares.h"
#include "reading/value_reader.h"

// Where a case of a catalogue stands: its number (1 for the first line that
// is neither blank nor a comment) and its line in the file.
struct catalogue_position {
    std::int64_t number = 0;
    std::int64_t line = 0;
    // The line as given, without its line end, while the text it was read
    // from is held: empty for a catalogue read from a stream.
    std::string_view text;
};

// Whether a line (with or without its line end) holds a case: its first
// byte that is not a blank is neither a line end nor #.
bool is_case_line(std::string_view line);

// Counts lines and case lines in text given block by block, as the reader
// would meet them (LF, CR LF and a lone CR each end a line), without
// reading the cases.
struct line_tally {
    std::int64_t lines = 0;  // line ends passed
    std::int64_t cases = 0;  // case lines begun
    bool in_lead = true;     // only blanks so far on the current line
    bool after_cr = false;   // the last block ended with a CR

    void feed(std::string_view block);
};

// Reads the case on the line at the reader's position and skips the rest
// of the line, also when the case cannot be read (conversion_error).
void read_case_line(value_reader& reader, square_case& c);

// Each line holds one case: count, width, height and the sides, read as in a
// case file; whatever follows the last side on its line is a note. Blank
// lines and lines whose first non-blank character is # are skipped. Reads
// one case at a time, so memory does not grow with the catalogue.
class catalogue_reader {
public:
    explicit catalogue_reader(std::FILE* stream);

    // The whole lines of `text`, the first of them line `first_line`, whose
    // first case gets the number `first_number`.
    catalogue_reader(std::string_view text, std::int64_t first_line, std::int64_t first_number);

    // The next case into `c`, with its number and line into `where`; false at
    // the end of the file. Throws conversion_error for a line that cannot be
    // read (`where` is set, and the rest of the line is skipped, so the next
    // call goes on with the next line), and for a failed read of the stream,
    // after which the catalogue counts as ended.
    bool next(square_case& c, catalogue_position& where);

private:
    value_reader reader_;
    std::int64_t number_ = 0;
    bool held_ = false;  // read from text in memory, which `where.text` can point into
};
