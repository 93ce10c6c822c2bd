#include "reading/read_case.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "reading/input_file.h"
#include "shown_text.h"
#include "reading/value_reader.h"

#include "reading/read_code_forms.h"

namespace {

using namespace read_forms;
using token = value_reader::token;

void read_listed(value_reader& reader, square_case& c, listed_read& r)
{
    for (; r.heads < 3; ++r.heads) {
        r.stop = reader.take(r.head[r.heads]);
        if (r.stop != token::value) return;
        if (r.heads == 0) {
            r.first_line = reader.line();
            // A first value inside a bracket begins a bare code, whatever
            // else the line would read as.
            if (reader.marks().depth > 0) {
                r.bare = true;
                ++r.heads;
                return;
            }
        }
        if ((r.heads == 0 && r.head[0] < 0) || (r.heads == 1 && r.head[1] < 1)) {
            r.bad_header = true;
            ++r.heads;
            return;
        }
    }
    c.count = r.head[0];
    c.width = r.head[1];
    c.height = r.head[2];
    // The count is not trusted for the allocation: a huge count in a short
    // file must end in a message, not in an out-of-memory failure.
    c.sides.reserve(std::min<std::size_t>(static_cast<std::size_t>(c.count), 1 << 16));
    for (std::int32_t i = 0; i < c.count; ++i) {
        std::int32_t side = 0;
        r.stop = reader.take(side);
        if (r.stop != token::value) return;
        c.sides.push_back(side);
    }
}

// The message of the reading as count, width, height and sides.
[[noreturn]] void fail_listed(value_reader& reader, const square_case& c, const listed_read& r)
{
    if (r.bad_header && r.heads == 1) {
        throw conversion_error(
            "the count is " + std::to_string(r.head[0]) + "; it must be 0 or more", reader.line());
    }
    if (r.bad_header) {
        throw conversion_error(
            "the width is " + std::to_string(r.head[1]) + "; it must be 1 or more", reader.line());
    }
    if (r.heads == 3) fail_missing_side(reader, r.stop, c.sides.size(), c.count);
    static const char* const names[] = {"the count", "the width", "the height"};
    if (r.stop != token::end) fail_at(reader, r.stop, names[r.heads]);
    throw conversion_error(span_ends(reader) + " before " + names[r.heads], reader.end_line());
}

}  // namespace

std::int64_t read_case_values(value_reader& reader, square_case& c)
{
    c.sides.clear();
    c.caption.clear();
    c.brackets.clear();
    reader.begin_code();
    listed_read r;
    read_listed(reader, c, r);
    if (r.bare) {
        take_bare_values(reader, c, r);
        return read_bare_code(reader, c, r);
    }
    if (r.stop == token::value && !r.bad_header) {
        read_caption(reader, c);
        // Sides past the count are not read, but counted for a warning.
        c.sides_given = c.count + reader.take_line_values();
        note_brackets(reader, c, 3);
        return r.first_line;
    }
    // The shorter forms only for what could not be read as before.
    std::int32_t size[2] = {};
    // The size comes first, before any bracket.
    if (r.heads == 0 && r.stop == token::word && reader.marks().first_open < 0 &&
        parse_size_word(reader.word(), size)) {
        const std::int64_t line = reader.line();
        const std::string word = reader.word();
        r.stop = reader.take(r.head[0]);
        if (r.stop != token::value || reader.marks().first_open != 0) {
            throw conversion_error("expected the sides in brackets after " + word, line);
        }
        c.sides.push_back(r.head[0]);
        return read_sized_code(reader, c, r, 0, size[0], size[1], line);
    }
    switch (reader.marks().first_open) {
        case 0:
            return read_bare_code(reader, c, r);
        case 1:
            throw conversion_error(
                "one number before the first bracket: expected count, width and height, the "
                "order and side of a squared square, or no number",
                reader.marks().open_line);
        case 2:
            // A square's side twice reads as order and side, as it always has.
            if (r.heads == 3 && r.head[0] != r.head[1]) {
                prepend(c, r.head + 2, 1);
                if (first_bracket_makes(reader, c, 2, r.head[0]))
                    return read_sized_code(reader, c, r, 2, r.head[0], r.head[1], r.first_line);
                c.sides.erase(c.sides.begin());
            }
            return read_square_code(reader, c, r);
        default:
            fail_listed(reader, c, r);
    }
}

namespace {

// The first line after the reading position's that begins with a digit or a
// bracket, or 0 at the end of the file.
std::int64_t next_code_line(value_reader& reader)
{
    for (;;) {
        reader.skip_line();
        const int first = reader.skip_blanks();
        if (first == EOF) return 0;
        if ((first >= '0' && first <= '9') || first == '(' || first == '[') return reader.line();
    }
}

}  // namespace

square_case read_case_from(std::FILE* stream, std::int64_t* first_line, std::int64_t* more_line)
{
    value_reader reader(stream, value_span::file, "the case file");
    square_case c;
    const std::int64_t line = read_case_values(reader, c);
    if (first_line != nullptr) *first_line = line;
    if (more_line != nullptr) *more_line = next_code_line(reader);
    return c;
}

square_case read_case(const std::string& path, std::int64_t* first_line, std::int64_t* more_line)
{
    // Standard input is read only as far as the case: more may follow it.
    const input_file file = open_input(path, "r", "the case file");
    return read_case_from(file.stream, first_line, path == "-" ? nullptr : more_line);
}
