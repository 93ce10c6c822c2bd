// The table --check prints: one tab-separated row per case.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/case_check.h"
#include "squares.h"

extern const char* const check_table_header;

std::string check_table_row(std::int64_t number, std::int64_t line, const square_case& c,
                            const case_verdict& verdict);
