// The names a catalogue run gives its files in a directory, and clearing
// away those of earlier runs.
#pragma once

#include <cstdint>
#include <string>

#include "document/file_system.h"
#include "squares.h"

// The name of a catalogue's drawing: it sorts in catalogue order and says
// the case number, order and size ("000012-21-112x112.svg").
std::string drawing_name(std::int64_t number, const square_case& c, const char* extension);

// `name` within `directory`.
std::string joined(const std::string& directory, const std::string& name);

// Whether a file of this name could be one a catalogue run writes: a
// drawing in any format, index.html or a gallery page.
bool is_made_name(const std::string& name);

// Whether `directory` holds a file with a made name (false when it cannot
// be read: making the drawings will tell).
bool holds_made_names(file_system& files, const std::string& directory);

// Removes from `directory` the files with made names changed before
// `since`: those of earlier runs. Other files are left alone; a link is
// removed, never what it points to. Returns what went wrong, if anything.
std::string remove_stale(file_system& files, const std::string& directory, std::int64_t since);
