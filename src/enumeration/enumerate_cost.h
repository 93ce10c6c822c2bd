// What an enumeration will cost, said before it starts, and what it found
// nothing of, said after.
#pragma once

#include <cstdint>
#include <string>

struct options;

// The c-nets the run's orders go through, with --part its share of them:
// for the progress line's share done and time left.
double cnets_to_solve(int low, int high, std::int64_t parts);

// Warnings, formatted as messages, for a run that would take many hours or
// keep more codes in memory than a machine has; both name --part.
std::string cost_warnings(const options& o, int low, int high, std::int64_t parts);

// The note for an order with no rectangle of the kind asked for.
std::string nothing_found_note(const options& o, int order);
