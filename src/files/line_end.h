// The platform's line end, for every text file the tool writes.
#pragma once

#include <string_view>

// Text mode writes CR LF on Windows.
#ifdef _WIN32
constexpr std::string_view line_end = "\r\n";
#else
constexpr std::string_view line_end = "\n";
#endif
