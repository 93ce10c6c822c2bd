// The command line: options before the case file, GNU style.
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/picture_writer.h"
#include "squares.h"

// A bound --only puts on a case's numbers, as 'width<=200'.
struct size_bound {
    enum measure { order, width, height, longer, shorter } of = width;
    enum relation { below, at_most, equal, at_least, above } is = at_most;
    std::int64_t value = 0;
};

// Whether the case is within every bound.
bool within(const square_case& c, const std::vector<size_bound>& bounds);

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
    unsigned only_kinds = 0;  // its kinds as bits (case_kind); 0: every case
    std::vector<size_bound> only_sizes;  // and its bounds on sizes
    picture_settings settings;
    bool has_case = false;
    bool check = false;
    bool canonical = false;  // print each dissection's canonical code
    bool net = false;        // write each dissection's electrical network
    bool with_net = false;   // each code of an enumeration with its c-net after a *
    bool stats = false;      // a catalogue's table of counts and sizes by order
    bool imperfect = false;  // the enumeration's kind: imperfect, not perfect
    bool squares = false;    // the enumeration keeps squared squares only
    bool count = false;      // the enumeration writes counts, not codes
    bool compound = false;   // the enumeration makes compound rectangles
    bool trivial = false;    // of those, the trivially compound only
    bool nontrivial = false;  // or the others only
    bool all = false;        // simple and compound together
    bool up_to_subrectangles = false;  // --canonical: the code up to the sub-rectangles' symmetries
    bool quiet = false;      // no warnings, no closing or confirmation line
    bool help = false;
    bool version = false;
    // Arguments after the case file that look like options: ignored, with a warning.
    std::vector<std::string> ignored;
};

// The kinds of case --only chooses among, as bits; a case is kept when it
// is of every kind asked for.
enum case_kind : unsigned {
    kind_dissection = 1,
    kind_not_dissection = 2,
    kind_perfect = 4,
    kind_imperfect = 8,
    kind_simple = 16,
    kind_compound = 32,
    kind_unreadable = 64,
    kind_trivially_compound = 128,  // a square as wide or as high as the whole
    kind_square = 256,              // as wide as high
    kind_oblong = 512,
};


// The K-th of N parts of a catalogue file; 1/1 is all of it.
struct catalogue_part {
    std::int64_t k = 1;
    std::int64_t n = 1;
};

// A command line that cannot be run as given: the message, then a usage
// line, then for an option not known a pointer to --help.
struct usage_error : std::runtime_error {
    explicit usage_error(const std::string& message, bool unknown = false)
        : std::runtime_error(message), unknown_option(unknown)
    {
    }
    bool unknown_option;
};

// Reads the options up to the case file; whatever follows it is ignored.
// Throws usage_error for an unknown option, a missing value or options that
// do not go together.
options parse_options(int argc, const char* const* argv);

// The formats --net writes its networks in; the first unless -f says.
extern const char* const net_formats[2];

// Whether --net writes graph6 (else planar_code).
bool writes_graph6(const options& o);

// Whether the run draws a picture.
bool draws(const options& o);

// Whether a catalogue run draws its cases as the pages of one PDF.
bool writes_book(const options& o);

// The number of threads a catalogue run uses: --jobs, or every core this
// process may run on.
int job_count(const options& o);

// The part --part asks for, or all of the file.
catalogue_part chosen_part(const options& o);

// The format the run draws in: the one asked for, or the default.
const picture_format& chosen_format(const options& o);

extern const char* const usage_line;
extern const char* const help_text;
