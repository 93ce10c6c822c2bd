// The command line as one typed request, parsed and checked before
// anything runs: the kind of run, and that kind's settings as values.
#pragma once

#include <string>
#include <vector>

#include "catalogue/catalogue_run.h"
#include "document/picture_writer.h"
#include "enumeration/enumerate_run.h"

enum class run_kind {
    help,
    version,
    draw_case,       // one case file, drawn
    check_case,      // one case file's table row, and its drawing if asked for
    canonical_case,  // one case file's canonical code
    net_case,        // one case file's network
    catalogue,
    enumeration,  // the generator's c-nets of some orders
    graphs,       // the c-nets of a planar_code file
};

// A run of one case file.
struct case_request {
    std::string path;  // "-": standard input
    bool check = false;
    bool canonical = false;            // the table's canonical column, or the code alone
    bool up_to_subrectangles = false;  // that code up to the sub-rectangles' symmetries
    bool net = false;     // the network instead
    bool graph6 = false;  // as graph6, else planar_code
    bool quiet = false;
    // The drawing, or the code; empty: the format's own name, or standard output.
    std::string output;
    const picture_format* format = nullptr;  // the drawing's; null: no drawing
    picture_settings drawing;
};

struct request {
    run_kind kind = run_kind::help;
    case_request one_case;
    catalogue_request catalogue;
    enumeration_request enumeration;
    bool quiet = false;
    // Arguments after the case file that look like options: ignored, with a warning.
    std::vector<std::string> ignored;
};

// Throws usage_error for an unknown option, a missing or wrong value, or
// options that do not go together.
request parse_request(int argc, const char* const* argv);
