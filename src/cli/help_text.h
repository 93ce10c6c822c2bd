// What --help and a usage error print.
#pragma once

extern const char* const usage_line;
extern const char* const help_text;
