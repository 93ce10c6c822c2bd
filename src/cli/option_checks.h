// The values of options and the options that do not go together, checked
// once they are all read.
#pragma once

#include <cstdint>
#include <string>

#include "cli/options.h"

// Threads past this many gain nothing on any machine and each holds a
// drawing's temporary file open.
constexpr std::int64_t most_jobs = 256;

// A whole number from `low` to `high` in plain decimal digits, or false.
bool parse_number(const std::string& text, std::int64_t low, std::int64_t high,
                  std::int64_t& value);

// "K/N" with 1 <= K <= N, or false.
bool parse_part(const std::string& text, catalogue_part& part);

// Options that each make sense but not together: throws usage_error. Sets
// what follows from them (the format an output's name implies, the size,
// --only's kinds).
void check_combination(options& o);
