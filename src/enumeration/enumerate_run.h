// The enumeration runs: --enumerate (every c-net of an order, from the
// generator) and --graphs (the c-nets of a planar_code file), each c-net
// solved with every edge as the battery, the codes written sorted, each once.
#pragma once

#include "files/file_system.h"
#include "messages.h"
#include "cli/options.h"

// Returns the exit status.
int run_enumeration(const options& o, file_system& files, output_stream& out);
