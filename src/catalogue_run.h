// A catalogue run: many cases, one per line, checked, drawn or both.
#pragma once

#include <cstdint>
#include <string>

#include "document/file_system.h"
#include "messages.h"
#include "options.h"
#include "squares.h"

// Returns the exit status. A line that cannot be read or drawn gets its
// message and the run goes on with the next.
int run_catalogue(const options& o, file_system& files, output_stream& out);

// The name of a catalogue's drawing: it sorts in catalogue order and says
// the case number, order and size ("000012-21-112x112.svg").
std::string drawing_name(std::int64_t number, const square_case& c, const char* extension);
