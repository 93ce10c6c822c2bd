// The names a catalogue run gives its files in a directory.
#pragma once

#include <cstdint>
#include <string>

#include "files/path_names.h"
#include "files/record_reader.h"
#include "squares.h"

// The name of a catalogue's drawing: it sorts in catalogue order and says
// the case number, order and size ("000012-21-112x112.svg").
std::string drawing_name(std::int64_t number, const square_case& c, const char* extension);

// Whether a file of this name could be one a catalogue run writes: a
// drawing in any format, index.html or a gallery page.
bool is_made_name(const std::string& name);

// The catalogue's names as the record of made files orders them.
name_kinds made_name_kinds();
