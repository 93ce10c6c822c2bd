// The pieces of reading a case shared by its notations: the plain list and
// the shorter published forms (a squared square's order and side, width
// and height without the count, the brackets alone).
#pragma once

#include <cstdint>
#include <string>

#include "squares.h"
#include "reading/value_reader.h"

namespace read_forms {

using token = value_reader::token;

// How the reading as count, width, height and sides went: `stop` is what
// stood where a value was due, token::value when every value was read (or
// the count or width is out of bounds: `bad_header`).
struct listed_read {
    std::int32_t head[3] = {};
    int heads = 0;  // header values read
    token stop = token::value;
    bool bad_header = false;
    bool bare = false;  // the first value stood inside a bracket
    std::int64_t first_line = 0;
};

// "the line ends" or "the file ends", as the reader's span is.
std::string span_ends(const value_reader& reader);

// The message for what stood where the value `name` was due.
[[noreturn]] void fail_at(value_reader& reader, token stop, const std::string& name);

// The message for side `read` + 1 of `count`, which is not there.
[[noreturn]] void fail_missing_side(value_reader& reader, token stop, std::size_t read,
                                    std::int32_t count);

// The caption after a * that follows the last side.
void read_caption(value_reader& reader, square_case& c);

// The values read so far put before the sides.
void prepend(square_case& c, const std::int32_t* values, int count);

// The brackets that hold sides only, from value `first_side` on.
void note_brackets(const value_reader& reader, square_case& c, std::int64_t first_side);

// A code with no number before its first bracket.
void take_bare_values(value_reader& reader, square_case& c, listed_read& r);
std::int64_t read_bare_code(value_reader& reader, square_case& c, const listed_read& r);

// The order and side of a squared square before its bracketed sides.
std::int64_t read_square_code(value_reader& reader, square_case& c, const listed_read& r);

// "WxH" (or "WXH") into `size`.
bool parse_size_word(const std::string& word, std::int32_t size[2]);

// Whether the first bracket, closed among the sides read, adds up to `width`.
bool first_bracket_makes(const value_reader& reader, const square_case& c, std::int64_t first_side,
                         std::int64_t width);

// Width and height before the brackets, no count.
std::int64_t read_sized_code(value_reader& reader, square_case& c, listed_read& r,
                             std::int64_t first_side, std::int32_t width, std::int32_t height,
                             std::int64_t line);

}  // namespace read_forms
