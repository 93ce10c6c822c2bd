// What a catalogue run does with each case, on whichever thread: a batch
// of lines in, its finished output out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/case_check.h"
#include "catalogue/case_drawing.h"
#include "catalogue/case_filter.h"
#include "catalogue/catalogue_input.h"
#include "catalogue/order_stats.h"
#include "document/gallery.h"
#include "document/pdf_book.h"
#include "document/picture_writer.h"
#include "files/file_system.h"
#include "files/made_journal.h"

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

// The same for every case of a run.
struct catalogue_settings {
    std::string path;  // the catalogue, as messages name it
    bool check = false;
    bool canonical = false;                  // each dissection's canonical code to `out`
    bool net = false;                        // each dissection's network to `out`
    bool graph6 = false;                     // as graph6, else planar_code
    bool stats = false;                      // each dissection counted in `stats`
    bool up_to_subrectangles = false;        // that code up to the sub-rectangles' symmetries
    bool quiet = false;                      // no warnings
    const picture_format* format = nullptr;  // drawings into `directory`, or none
    picture_settings drawing;                // how the drawings are made
    bool book = false;  // the drawings are pages of one PDF, not files in `directory`
    std::string directory;
    bool gallery = false;
    bool with_smith = false;  // each gallery entry and book page with the Smith diagram
    // A catalogue read from standard input that may be a file in the
    // directory: each drawing is first compared with it, never to replace it.
    bool guard_input = false;
    // Standard output is a regular file, perhaps one in the directory: no
    // drawing replaces it.
    bool guard_output = false;
    // Where each drawing's name goes before the drawing takes it.
    made_journal* journal = nullptr;
    // Held while a worker handles a large case (large_case squares or
    // more), so that the memory of such cases is not taken once per thread.
    std::mutex* large_case_gate = nullptr;
    unsigned only = 0;              // --only's kinds (case_kind); 0: every case
    std::vector<size_bound> sizes;  // and its bounds
};

constexpr std::size_t large_case = std::size_t{1} << 20;

struct catalogue_batch {
    catalogue_batch_text input;
    std::string out;       // for standard output
    std::string messages;  // for standard error
    std::vector<gallery_entry> entries;
    std::vector<book_page> pages;
    std::vector<made_drawing> made;
    catalogue_summary summary;
    catalogue_stats stats;
    bool failed = false;  // some line makes the run's status 1
};

// What each worker thread keeps from case to case, so that cases cost no
// allocations once it has grown; given back after a large case.
struct worker_memory {
    check_workspace check;
    canonical_scratch canonical;
    std::vector<square_box> rows;  // the squares placed to check a code's brackets
};

// Reads, checks and draws the batch's cases, in order; `memory` is the
// calling thread's own.
void work_on_batch(const catalogue_settings& settings, file_system& files, catalogue_batch& batch,
                   worker_memory& memory);
