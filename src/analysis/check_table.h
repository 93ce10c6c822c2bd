// The table --check prints: one tab-separated row per case line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/case_check.h"
#include "squares.h"

// The header line; with `canonical` (--check --canonical) the table has a
// canonical column after the problem, then come the structure, the maximal
// sub-rectangles and the caption, which is always last.
std::string check_table_header(bool canonical);

// The case's row. `canonical` is null for a table without that column,
// else the case's canonical code, empty for a case that is not a dissection.
std::string check_table_row(std::int64_t number, std::int64_t line, const square_case& c,
                            const case_verdict& verdict, const std::string* canonical = nullptr);

// The verdict in a few words: "perfect, simple", "imperfect, compound" or
// "not a dissection".
std::string verdict_words(const case_verdict& verdict);

// The row of a line that could not be read: "-" for what it would have
// said, the message as the problem, and the caption the line has after a *.
// A line of 0 (not known) shows as "-".
std::string unreadable_row(std::int64_t number, std::int64_t line, const std::string& message,
                           bool canonical, std::string_view caption = {});
