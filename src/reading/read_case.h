// Reading a case file: count, width, height, then the sides.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "squares.h"

class value_reader;

// Opens the case file at `path` ("-": standard input), reads the case and
// closes the file; the line where the case begins (its count) goes to
// `first_line` if given, and to `more_line` the first line after the case's
// that begins with a value or bracket (0 for none): a file of several cases,
// of which one is read.
square_case read_case(const std::string& path, std::int64_t* first_line = nullptr,
                      std::int64_t* more_line = nullptr);

// Reads a case from an open stream. Values are whole words of an optional
// sign and decimal digits; white space and the brackets, parentheses and
// commas of pasted codes separate them. Past the last side only the rest of
// its line is looked at (for a caption, and to count the values there),
// then with `more_line` the lines that follow, up to one that holds codes.
square_case read_case_from(std::FILE* stream, std::int64_t* first_line = nullptr,
                           std::int64_t* more_line = nullptr);

// Reads count, width, height and the sides into `c` with every check of a
// case file; the messages for running out of values name the reader's span
// ("the file ends ..." or "the line ends ..."). Returns the line of the count.
std::int64_t read_case_values(value_reader& reader, square_case& c);
