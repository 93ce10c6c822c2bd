// The command line: options before the case file, GNU style.
#pragma once

#include <stdexcept>
#include <string>

#include "document/picture_writer.h"

struct options {
    std::string format;     // empty: told by the output's name, else the default
    std::string output;     // empty: the format's own name; "-": standard output
    std::string directory;  // where a catalogue's drawings go
    std::string catalogue;  // a file of cases, one per line
    std::string case_path;  // the case file
    std::string size;       // as --size gives it
    picture_settings settings;
    bool has_case = false;
    bool check = false;
    bool help = false;
    bool version = false;
};

// A command line that cannot be run as given: the message, then a usage line.
struct usage_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the options up to the case file; whatever follows it is ignored.
// Throws usage_error for an unknown option, a missing value or options that
// do not go together.
options parse_options(int argc, const char* const* argv);

// Whether the run draws a picture.
bool draws(const options& o);

// The format the run draws in: the one asked for, or the default.
const picture_format& chosen_format(const options& o);

extern const char* const usage_line;
extern const char* const help_text;
