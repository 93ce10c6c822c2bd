// Text from outside (file contents, paths) made safe to print on one line.
#pragma once

#include <string>

// Appends `byte` as \xNN with lower-case hex digits.
void append_escaped_byte(std::string& text, unsigned char byte);

// `path` as it may be printed on one line of standard error: control
// characters, bytes that are not well-formed UTF-8, the C1 controls, the
// noncharacters U+FFFE and U+FFFF, and the line separators and direction
// overrides of Unicode are shown as \xNN per
// byte, so a hostile file name can neither break a message nor reorder it
// on a terminal. Everything else, backslashes and accented letters too, is
// left as it is.
std::string shown_path(const std::string& path);

// `text` with & < > " written as the entities HTML and XML read them as,
// and every character XML 1.0 does not allow (a C0 control but tab, LF and
// CR, a byte that is not well-formed UTF-8, U+FFFE, U+FFFF) as U+FFFD.
std::string escaped_markup(const std::string& text);
