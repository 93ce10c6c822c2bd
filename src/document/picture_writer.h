// A drawing of the placed squares in one format. The square loop's
// placements reach it square by square; each format is one small writer
// behind this interface, listed in picture_formats.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analysis/check_workspace.h"
#include "files/file_system.h"
#include "squares.h"

class picture_writer {
public:
    virtual ~picture_writer() = default;
    // Before the frame head, for a compound dissection: its maximal
    // sub-rectangles. The svg, pdf and tikz writers outline them over the
    // squares and count them in the title; the tex document stays as it is.
    virtual void subrectangles(const std::vector<sub_rectangle>& list) { (void)list; }
    // Before the first square.
    virtual void frame_head(const square_case& c) = 0;
    // Each square in placement order; `named` when the tiling report names
    // it, for a format that can point it out.
    virtual void square(const placement& p, bool named) = 0;
    // After the last square: ends the drawing and completes its file.
    virtual void frame_tail() = 0;
    // Once complete: what the reader of the drawing should be warned of
    // (it does not show the picture as drawn, TeX cannot typeset it), if anything.
    virtual std::vector<std::string> caveats() const { return {}; }
};

// The drawings' longer side when --size does not say.
constexpr double default_size_mm = 150;

// How a run asks for its drawings.
struct picture_settings {
    // The drawing's longer side in millimetres, from --size; 0 when not
    // given: pdf and tikz draw default_size_mm, svg leaves it to its viewer.
    double size_mm = 0;
    // What a symbolic link at the drawing's name is: followed, or replaced
    // (in a catalogue's directory, which may be shared).
    links how = links::follow;
};

struct picture_format {
    const char* name;          // as --format takes it
    const char* default_path;  // written when no --output is given
    const char* extension;     // of the drawings a catalogue run names
    bool shown_in_browser;     // a catalogue's drawings get an index.html gallery
    bool sized;                // --size sets its size
    // A case whose square cannot be placed is drawn up to it, the square
    // in red where the skyline puts it; else no file is written.
    bool draws_failure;
    // A compound dissection's maximal sub-rectangles are outlined
    // (picture_writer::subrectangles), so a run finds them for it.
    bool outlines;
    std::unique_ptr<picture_writer> (*open)(file_system& files, const std::string& path,
                                            const picture_settings& settings);
};

// The format of that name, or null.
const picture_format* find_format(const std::string& name);

// The format a run uses unless told otherwise.
const picture_format& default_format();

// The names of every format, for the usage text: "tex|svg|tikz|pdf"; or
// of those --size applies to.
std::string format_names(bool sized_only = false);

// The drawing's title, as a viewer shows it: "9 squares in a 33 x 32
// rectangle", then ": " and the case's caption if it has one.
// With `outlined` sub-rectangles, ", outlined: 2 sub-rectangles" comes
// before the caption.
std::string case_title(const square_case& c, std::size_t outlined = 0);

// "outlined: 2 sub-rectangles", as the titles and captions say it.
std::string outlined_words(std::size_t count);

// The extensions of every format's drawings in a catalogue's directory.
std::vector<std::string> format_extensions();
