// --enumerate N --compound (or --all): the compound perfect rectangles of
// an order, built level by level from every perfect rectangle of the
// orders below, as codes or counted both ways.
#pragma once

#include "enumeration/enumeration_request.h"
#include "files/file_system.h"
#include "messages.h"

// Whether the enumeration is of compound rectangles (--compound or --all).
bool enumerates_compound(const enumeration_request& r);

// The highest order --compound takes: each order holds every perfect
// rectangle of the orders below in memory.
constexpr int greatest_compound_order = 20;
// The highest with --squares: the squares come from a search by shapes
// that needs few rectangles of each order below.
constexpr int greatest_compound_square_order = 28;

// The highest with --imperfect: every squared rectangle of the orders
// below is held, and they grow faster than the perfect ones.
constexpr int greatest_imperfect_compound_order = 12;

// Returns the exit status.
int run_compound_enumeration(const enumeration_request& r, file_system& files, output_stream& out);
