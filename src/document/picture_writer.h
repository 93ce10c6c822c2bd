// A drawing of the placed squares in one format. The square loop's
// placements reach it square by square; each format is one small writer
// behind this interface, listed in picture_formats.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/file_system.h"
#include "squares.h"

class picture_writer {
public:
    virtual ~picture_writer() = default;
    // Before the first square.
    virtual void frame_head(const square_case& c) = 0;
    // Each square in placement order; `named` when the tiling report names
    // it, for a format that can point it out.
    virtual void square(const placement& p, bool named) = 0;
    // After the last square: ends the drawing and completes its file.
    virtual void frame_tail() = 0;
};

struct picture_format {
    const char* name;          // as --format takes it
    const char* default_path;  // written when no --output is given
    const char* extension;     // of the drawings a catalogue run names
    bool shown_in_browser;     // a catalogue's drawings get an index.html gallery
    std::unique_ptr<picture_writer> (*open_file)(file_system& files, const std::string& path,
                                                 links how);

    std::unique_ptr<picture_writer> open(file_system& files, const std::string& path,
                                         links how = links::follow) const
    {
        return open_file(files, path, how);
    }
};

// The format of that name, or null.
const picture_format* find_format(const std::string& name);

// The format a run uses unless told otherwise.
const picture_format& default_format();

// The names of every format, for the usage text: "tex|svg|tikz".
std::string format_names();

// The extensions of every format's drawings in a catalogue's directory.
std::vector<std::string> format_extensions();
