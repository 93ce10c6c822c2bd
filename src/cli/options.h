// The command line as the user typed it: options before the case file,
// GNU style, read into their strings; src/cli/request.h makes them a run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/case_work.h"
#include "document/picture_writer.h"
#include "enumeration/enumeration_request.h"
#include "squares.h"

struct options {
    std::string format;     // empty: told by the output's name, else the default
    std::string output;     // empty: the format's own name; "-": standard output
    std::string directory;  // where a catalogue's drawings go
    std::string catalogue;  // a file of cases, one per line
    std::string case_path;  // the case file; "-": standard input
    std::string jobs;       // threads of a catalogue run, as given; empty: every core
    std::string part;       // "K/N": only that part of the catalogue file
    std::string size;       // as --size gives it
    std::string enumerate;  // "N" or "A-B": the orders to enumerate
    std::string graphs;     // a planar_code file of c-nets to solve; "-": standard input
    std::string only;       // as --only gives it
    bool has_case = false;
    bool check = false;
    bool canonical = false;            // print each dissection's canonical code
    bool net = false;                  // write each dissection's electrical network
    bool with_net = false;             // each code of an enumeration with its c-net after a *
    bool with_smith = false;           // the Smith diagram beside each gallery entry or book page
    bool stats = false;                // a catalogue's table of counts and sizes by order
    bool imperfect = false;            // the enumeration's kind: imperfect, not perfect
    bool squares = false;              // the enumeration keeps squared squares only
    bool count = false;                // the enumeration writes counts, not codes
    bool compound = false;             // the enumeration makes compound rectangles
    bool trivial = false;              // of those, the trivially compound only
    bool nontrivial = false;           // or the others only
    bool all = false;                  // simple and compound together
    bool up_to_subrectangles = false;  // --canonical: the code up to the sub-rectangles' symmetries
    bool quiet = false;                // no warnings, no closing or confirmation line
    bool help = false;
    bool version = false;
    // Arguments after the case file that look like options: ignored, with a warning.
    std::vector<std::string> ignored;

    // The values of the texts above, set as they are checked.
    std::int64_t job_number = 0;  // 0: --jobs not given
    catalogue_part part_value;
    order_range orders;
    unsigned only_kinds = 0;             // --only's kinds as bits (case_kind); 0: every case
    std::vector<size_bound> only_sizes;  // and its bounds on sizes
    picture_settings settings;
};

// Reads the options up to the case file; whatever follows it is ignored.
// Throws usage_error for an unknown option or a missing value.
options parse_options(int argc, const char* const* argv);

// Whether the run enumerates (--enumerate) or solves given graphs (--graphs).
bool enumerates(const options& o);

// The formats --net writes its networks in; the first unless -f says.
extern const char* const net_formats[2];

// Whether --net writes graph6 (else planar_code).
bool writes_graph6(const options& o);

// Whether the run draws a picture.
bool draws(const options& o);

// Whether a catalogue run draws its cases as the pages of one PDF.
bool writes_book(const options& o);

// The format the run draws in: the one asked for, or the default.
const picture_format& chosen_format(const options& o);
