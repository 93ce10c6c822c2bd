// Reading a case file: count, width, height, then the sides.
#pragma once

#include <cstdio>
#include <string>

#include "squares.h"

// Opens the case file at `path`, reads the case and closes the file.
square_case read_case(const std::string& path);

// Reads a case from an open stream. Values are read as "%d" reads them
// (leading white space, an optional sign, decimal digits); the brackets,
// parentheses and commas of pasted codes count as white space. Nothing
// after the last side is read.
square_case read_case_from(std::FILE* stream);
