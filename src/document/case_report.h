// One case drawn, checked and reported: what a single run and each case of
// a catalogue run share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/case_check.h"
#include "analysis/tiling_report.h"
#include "document/picture_writer.h"
#include "files/file_system.h"
#include "squares.h"

// Where a case comes from: its file, its number and line in a catalogue.
struct case_source {
    std::string file;
    std::int64_t number = 1;
    std::int64_t line = 1;
    bool in_catalogue = false;  // messages name the line
    bool quiet = false;         // no warnings (--quiet)
};

// The line a message about the case as a whole names: a catalogue's line,
// none for a case file.
std::int64_t message_line(const case_source& from);

// Appends to `messages` the warnings on how the case was written: sides
// given past its count (when `count_sides`) and brackets that do not
// follow its rows, naming the case's line. `boxes` holds the squares as
// placed when `placed` (the check has placed them); else they are placed
// into it, with `sky`.
void report_writing(const square_case& c, const case_source& from, bool count_sides, skyline& sky,
                    std::vector<square_box>& boxes, std::string& messages, bool placed = false);

// Appends the case's row of the check table to `out`, and to `messages`
// the message of a square that cannot be placed.
// With `canonical`, the row has that column too (check_table_row).
void report_verdict(const square_case& c, const case_verdict& verdict, const case_source& from,
                    std::string& out, std::string& messages,
                    const std::string* canonical = nullptr);

// The case's canonical code for the check table's column, without caption
// or line end: empty for a case that is not a dissection. `placed` holds
// the squares as check_case placed them.
std::string canonical_column(const square_case& c, const case_verdict& verdict,
                             const std::vector<square_box>& placed, canonical_scratch& scratch,
                             bool up_to_subrectangles = false);

// What became of a drawing: complete, drawn up to a square that cannot be
// placed (a failure all the same), or not written.
enum class drawing_outcome { complete, up_to_failure, not_drawn };

// Draws the case into `name`, appending to `messages` the tiling report's
// warnings unless the case was `checked` (the table says it all), then
// what the finished drawing fails to show, and the failure, if any, unless
// the check has told it already. `settings` says too whether a link at
// `name` is followed or replaced. `outlines`: the maximal sub-rectangles
// the check found, for the drawing to outline.
drawing_outcome draw_and_report(const square_case& c, const picture_format& format,
                                const picture_settings& settings, const std::string& name,
                                file_system& files, const case_source& from, bool checked,
                                std::string& messages,
                                const std::vector<sub_rectangle>& outlines = {});

// Draws the case's squares into `picture`, from its frame head to its
// frame tail, noting each in `report`. A square that cannot be placed
// throws placement_error; `to_failure` first draws it, named, where the
// skyline puts it (if it can be drawn at all) and ends the picture.
// Any `outlines` reach the picture first (picture_writer::subrectangles).
void draw_case(const square_case& c, picture_writer& picture, tiling_report& report,
               bool to_failure = false, const std::vector<sub_rectangle>& outlines = {});

// The sub-rectangles a drawing of the case outlines: the maximal ones of a
// compound dissection, none for any other case.
const std::vector<sub_rectangle>& outlined_subrectangles(const case_verdict& verdict);

// Whether a drawing of the case in `format` may outline sub-rectangles: the
// check lists none past most_listed_squares squares, so a run that only
// draws such a case spares itself the check, its time and its memory.
bool may_outline(const square_case& c, const picture_format& format);

// Writes squares.tex for a case through `files`; returns the tiling report.
std::vector<std::string> write_document(const square_case& c, file_system& files);
