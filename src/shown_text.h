// Texts shown in messages, made safe to print on one line.
#pragma once

#include <string>

// A path as it may be printed on one line of standard error.
std::string shown_path(const std::string& path);
