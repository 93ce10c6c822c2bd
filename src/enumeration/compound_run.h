// --enumerate N --compound (or --all): the compound perfect rectangles of
// an order, built level by level from every perfect rectangle of the
// orders below, as codes or counted both ways.
#pragma once

#include "files/file_system.h"
#include "messages.h"
#include "cli/options.h"

// Whether the enumeration is of compound rectangles (--compound or --all).
bool enumerates_compound(const options& o);

// Throws usage_error for --compound, --trivial, --nontrivial, --all and
// --up-to-subrectangles where they do not go.
void check_compound_options(const options& o);

// The highest order --compound takes: each order holds every perfect
// rectangle of the orders below in memory.
constexpr int greatest_compound_order = 20;

// Returns the exit status.
int run_compound_enumeration(const options& o, file_system& files, output_stream& out);
