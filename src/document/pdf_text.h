// Text in a PDF: the strings of its title and outline, and lines drawn in
// Helvetica, one of the fonts every reader has.
#pragma once

#include <string>

// A text string for the document's information and outline: a literal
// "(...)" for printable ASCII, else UTF-16BE with a byte-order mark, as
// hexadecimal. Bytes that are not UTF-8 stand for U+FFFD.
std::string pdf_text_string(const std::string& utf8);

// The text in WinAnsiEncoding, the encoding the drawings give Helvetica:
// '?' for a character it lacks.
std::string to_win_ansi(const std::string& utf8);

// A string operand "(...)" of these bytes, for the Tj operator.
std::string pdf_literal(const std::string& bytes);

// The width of WinAnsi text in Helvetica, in ems.
double helvetica_width(const std::string& win_ansi);
