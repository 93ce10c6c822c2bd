// The options of an enumeration run: --enumerate N or A-B, --graphs FILE,
// and the kinds of rectangle they write.
#pragma once

#include "cli/options.h"

// Whether the run enumerates (--enumerate) or solves given graphs (--graphs).
bool enumerates(const options& o);

// Throws usage_error for an enumeration run's options that do not go
// together, and for --imperfect, --squares or --count without one.
void check_enumeration(const options& o);

// The orders of --enumerate, from `low` to `high`.
struct order_range {
    int low = 0;
    int high = 0;
};
order_range chosen_orders(const options& o);

// The orders --enumerate takes.
constexpr int least_order = 1;
constexpr int greatest_order = 40;
