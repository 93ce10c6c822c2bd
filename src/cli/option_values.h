// The values options take, read from their text: numbers, parts, orders,
// lengths and kinds of case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/case_work.h"
#include "enumeration/enumeration_request.h"
#include "squares.h"

// Threads past this many gain nothing on any machine and each holds a
// drawing's temporary file open.
constexpr std::int64_t most_jobs = 256;

constexpr std::int64_t most_parts = 1000000;

// A whole number from `low` to `high` in plain decimal digits, or false.
bool parse_number(const std::string& text, std::int64_t low, std::int64_t high,
                  std::int64_t& value);

// "K/N" with 1 <= K <= N, or false.
bool parse_part(const std::string& text, catalogue_part& part);

// "N" or "A-B" with A <= B, each from least_order to greatest_order, or false.
bool parse_orders(const std::string& text, order_range& range);

// --size: a decimal number and a unit, as 120mm, 12cm, 4.5in or 300pt, in
// millimetres. Throws usage_error for another text or a size out of range.
double size_in_mm(const std::string& text);

// --only's kinds, as bits (case_kind), and its bounds on sizes. Throws
// usage_error for a kind not known or a bound not well formed.
unsigned parse_kinds(const std::string& text, std::vector<size_bound>& bounds);
