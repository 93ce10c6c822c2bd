// A catalogue run: many cases, one per line, checked, drawn or both, on
// every core, with the output of a run on one.
#pragma once

#include "files/file_system.h"
#include "messages.h"
#include "cli/options.h"

// Returns the exit status. A line that cannot be read or drawn gets its
// message and the run goes on with the next.
int run_catalogue(const options& o, file_system& files, output_stream& out);
