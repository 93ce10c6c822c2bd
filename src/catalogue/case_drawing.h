// A drawing of a catalogue's case into its directory: the checks before its
// name is taken, and the Smith diagram that --with-smith adds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/case_report.h"
#include "document/picture_writer.h"
#include "files/file_system.h"
#include "files/made_journal.h"

// A drawing a batch made or tried to make in the directory.
struct made_drawing {
    std::int64_t number = 0;
    std::string name;
    bool written = false;
};

// The directory the drawings go to, and what no drawing there may replace.
struct drawing_directory {
    std::string path;
    bool guard_input = false;   // the catalogue is standard input, perhaps a file there
    bool guard_output = false;  // standard output is a regular file, perhaps one there
    made_journal* journal = nullptr;
};

// Throws usage_error when the file at `path` is standard output: a file
// of the user's, never replaced nor removed.
void refuse_standard_output(file_system& files, const std::string& path);

// Whether a drawing may take this name in the directory: not standard
// output's file, not the catalogue being read, its name recorded first.
// Else the message is added to `messages`.
bool may_draw(const drawing_directory& d, file_system& files, const case_source& from,
              const std::string& name, std::string& messages);

// The case's Smith diagram beside its drawing, added to `made`; its name,
// or empty if not drawn (then `failed`).
std::string draw_smith(const drawing_directory& d, const picture_settings& drawing,
                       file_system& files, const square_case& c, const case_source& from,
                       std::string& messages, bool& failed, std::vector<made_drawing>& made);
