// The order of a run, and the one place where its failures are reported.
#pragma once

#include <string>
#include <vector>

#include "document/file_system.h"
#include "squares.h"

// Writes the document for a case through `files`: frame head, one block per
// square, frame tail. Returns the tiling report.
std::vector<std::string> write_document(const square_case& c, file_system& files);

// The whole run of `squares2tex CASE`: returns the exit status after
// printing the confirmation, or the warnings and errors, as it goes.
int run(int argc, char** argv);
