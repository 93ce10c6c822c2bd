// A catalogue run: many cases, one per line, checked, drawn or both, on
// every core, with the output of a run on one.
#pragma once

#include <string>
#include <vector>

#include "catalogue/case_work.h"
#include "document/picture_writer.h"
#include "files/file_system.h"
#include "messages.h"
#include "squares.h"

// What a catalogue run is asked to do, its values checked.
struct catalogue_request {
    std::string path;  // the catalogue; "-": standard input
    bool check = false;
    bool canonical = false;            // each dissection's canonical code
    bool up_to_subrectangles = false;  // that code up to the sub-rectangles' symmetries
    bool net = false;                  // each dissection's network, instead of codes
    bool graph6 = false;               // that network as graph6, else planar_code
    bool stats = false;                // a table of counts and sizes by order, instead of rows
    bool stats_svg = false;            // that as the SVG histogram of sizes, to `output` if given
    bool quiet = false;                // no warnings, no closing line
    // The canonical codes' file, the book's or the histogram's; empty: standard output.
    std::string output;
    std::string directory;  // where the drawings go; empty: none there
    // The drawings' format, into `directory` or the book; null: no drawings.
    const picture_format* format = nullptr;
    bool book = false;        // the drawings are the pages of one PDF, `output`
    bool with_smith = false;  // each gallery entry and book page with the Smith diagram
    picture_settings drawing;
    catalogue_part part;
    unsigned only = 0;              // --only's kinds (case_kind bits); 0: every case
    std::vector<size_bound> sizes;  // and its bounds on sizes
    int jobs = 1;                   // threads
};

// Returns the exit status. A line that cannot be read or drawn gets its
// message and the run goes on with the next.
int run_catalogue(const catalogue_request& r, file_system& files, output_stream& out);
