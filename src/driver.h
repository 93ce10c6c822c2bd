// The order of a run, and the one place where its failures are reported.
#pragma once

#include <string>
#include <vector>

#include "document/file_system.h"
#include "document/picture_writer.h"
#include "messages.h"
#include "analysis/case_check.h"
#include "analysis/tiling_report.h"
#include "squares.h"

// Where a case comes from: its file, its number and line in a catalogue.
struct case_source {
    std::string file;
    std::int64_t number = 1;
    std::int64_t line = 1;
    bool in_catalogue = false;  // messages name the line
};

// Prints the case's row of the check table, and the message of a square
// that cannot be placed.
void print_verdict(const square_case& c, const case_verdict& verdict, const case_source& from,
                   output_stream& out);

// Draws the case into `name`, printing the tiling report's warnings unless
// the case was `checked` (the table says it all), then what the finished
// drawing fails to show, and the failure, if any, unless the check has
// told it already. True when the drawing is complete.
bool draw_and_report(const square_case& c, const picture_format& format,
                     const picture_settings& settings, const std::string& name,
                     file_system& files, const case_source& from, bool checked);

// Draws the case's squares into `picture`, from its frame head to its
// frame tail, noting each in `report`.
void draw_case(const square_case& c, picture_writer& picture, tiling_report& report);

// Writes squares.tex for a case through `files`; returns the tiling report.
std::vector<std::string> write_document(const square_case& c, file_system& files);

// The whole run of `squares2tex [OPTION]... CASE` or of a catalogue:
// returns the exit status after printing what it has to say as it goes.
int run(int argc, const char* const* argv);
