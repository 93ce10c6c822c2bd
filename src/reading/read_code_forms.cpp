#include "reading/read_code_forms.h"

#include <algorithm>

#include "shown_text.h"

namespace read_forms {

namespace {

using token = value_reader::token;

constexpr std::int64_t int32_max = 2147483647;

// A caption is cut at this many bytes; no more than about this much is
// looked at after the last side.
constexpr std::size_t caption_limit = 1000;

const char* const range_note = ", outside the 32-bit range -2147483648 to 2147483647";

}  // namespace

std::string span_ends(const value_reader& reader)
{
    return reader.span() == value_span::line ? "the line ends" : "the file ends";
}

// The message for what stood where the value `name` was due: a word, a
// * or a value outside 32 bits.
[[noreturn]] void fail_at(value_reader& reader, token stop, const std::string& name)
{
    if (stop == token::star) reader.take_word();
    if (stop == token::out_of_range) {
        throw conversion_error(name + " is " + reader.word() + range_note, reader.line());
    }
    throw conversion_error("expected " + name + ", found \"" + reader.word() + "\"", reader.line());
}

// The message for side `read` + 1 of `count`, which is not there: `stop`
// stood in its place.
[[noreturn]] void fail_missing_side(value_reader& reader, token stop, std::size_t read,
                                    std::int32_t count)
{
    const std::string of_count = " of " + std::to_string(count);
    if (stop != token::end) fail_at(reader, stop, "side " + std::to_string(read + 1) + of_count);
    throw conversion_error(span_ends(reader) + " after " + std::to_string(read) + of_count +
                               " sides; side " + std::to_string(read + 1) + " is missing",
                           reader.end_line());
}

// The caption: the rest of the line after a * that follows the last side,
// trimmed, cut short and safe to print on one line.
void read_caption(value_reader& reader, square_case& c)
{
    const std::int64_t line = reader.value_line();
    if (!reader.take_star(caption_limit) || reader.line() != line) return;
    // Blanks before it do not count against the limit: a caption written
    // out after " * " reads back the same.
    reader.skip_blanks();
    std::string text;
    reader.take_line_text(text, caption_limit);
    const auto blank = [](char b) {
        return b == ' ' || b == '\t' || b == '\v' || b == '\f' || b == '\r';
    };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    c.caption = first < last ? shown_path(std::string(first, last)) : std::string();
    if (c.caption.size() > caption_limit) {
        // Cut where a character begins: not inside \xNN or a UTF-8 sequence.
        std::size_t cut = caption_limit;
        while (cut > 0 && (static_cast<unsigned char>(c.caption[cut]) & 0xc0) == 0x80) --cut;
        const std::size_t escape = c.caption.rfind("\\x", cut);
        if (escape != std::string::npos && cut - escape < 4) cut = escape;
        c.caption.resize(cut);
        while (!c.caption.empty() && c.caption.back() == ' ') c.caption.pop_back();
    }
}

// The values read so far, as the sides of a code: the header's first and
// then the sides.
void prepend(square_case& c, const std::int32_t* values, int count)
{
    c.sides.insert(c.sides.begin(), values, values + count);
}

namespace {

[[noreturn]] void fail_no_number(const value_reader& reader)
{
    throw conversion_error(
        "the brackets hold no number: expected the sides of a code, or count, width and height "
        "before them",
        reader.marks().open_line);
}

}  // namespace

// The brackets that hold sides only, from value `first_side` on, into
// `c.brackets`; those reaching past the last side are no part of the case.
void note_brackets(const value_reader& reader, square_case& c, std::int64_t first_side)
{
    const std::vector<std::int64_t>& bounds = reader.bracket_bounds();
    const auto sides = static_cast<std::int64_t>(c.sides.size());
    for (std::size_t i = 0; i + 1 < bounds.size(); i += 2) {
        const std::int64_t open = bounds[i] - first_side;
        const std::int64_t close = bounds[i + 1] - first_side;
        if (open < 0 || close <= open || close > sides) continue;
        c.brackets.push_back(static_cast<std::int32_t>(open));
        c.brackets.push_back(static_cast<std::int32_t>(close));
    }
}

// The values of a bare code after its first: up to the first value outside
// the brackets after them, or what is no value.
void take_bare_values(value_reader& reader, square_case& c, listed_read& r)
{
    while (r.stop == token::value && reader.marks().outside < 0) {
        std::int32_t side = 0;
        r.stop = reader.take(side);
        if (r.stop == token::value) c.sides.push_back(side);
    }
}

// A code with no number before its first bracket: the order is the number
// of sides, the width the sum of the first bracket, the height the area
// over the width. It ends at a *, at the first value or word outside the
// brackets after them, or at the end of the line (of the file).
std::int64_t read_bare_code(value_reader& reader, square_case& c, const listed_read& r)
{
    const value_reader::bracket_marks& m = reader.marks();
    prepend(c, r.head, r.heads);
    if (m.outside >= 0) {
        c.sides.resize(static_cast<std::size_t>(m.outside));
    } else if (m.depth > 0 && (r.stop == token::word || r.stop == token::out_of_range)) {
        fail_at(reader, r.stop, "side " + std::to_string(c.sides.size() + 1));
    }
    if (c.sides.empty()) fail_no_number(reader);
    if (c.sides.size() > static_cast<std::size_t>(int32_max)) {
        throw conversion_error("the code has more than 2147483647 sides", m.open_line);
    }
    const std::size_t first_bracket =
        m.first_close >= 0 ? std::min(c.sides.size(), static_cast<std::size_t>(m.first_close))
                           : c.sides.size();
    std::int64_t width = 0;
    for (std::size_t i = 0; i < c.sides.size(); ++i) {
        const std::int64_t side = c.sides[i];
        if (side < 1) {
            throw conversion_error("side " + std::to_string(i + 1) + " is " + std::to_string(side) +
                                       "; the sides of a code without its size must be 1 or more",
                                   m.open_line);
        }
        if (i < first_bracket) width += side;
        if (width > int32_max) {
            throw conversion_error(
                "the sides in the first bracket add up to more than 2147483647, the widest "
                "rectangle",
                m.open_line);
        }
    }
    if (width == 0) {
        throw conversion_error("the first bracket holds no side; its sides make the width",
                               m.open_line);
    }
    std::int64_t area = 0;
    // The height must fit 32 bits, so the area is bounded by the width
    // times 2147483647 (at most 2^62): each step is checked before it is
    // taken.
    const std::int64_t most = width * int32_max;
    for (const std::int32_t s : c.sides) {
        const std::int64_t square = std::int64_t{s} * s;
        if (square > most - area) {
            throw conversion_error("the squares' area is more than the width " +
                                       std::to_string(width) +
                                       " times 2147483647: the height would leave the 32-bit range",
                                   m.open_line);
        }
        area += square;
    }
    if (area % width != 0) {
        throw conversion_error("the squares' area " + std::to_string(area) +
                                   " is not a multiple of the width " + std::to_string(width) +
                                   " (the sum of the first bracket)",
                               m.open_line);
    }
    c.count = static_cast<std::int32_t>(c.sides.size());
    c.width = static_cast<std::int32_t>(width);
    c.height = static_cast<std::int32_t>(area / width);
    if (r.stop == token::star && m.outside < 0) read_caption(reader, c);
    c.sides_given = c.count;
    note_brackets(reader, c, 0);
    return m.open_line;
}

// The order and side of a squared square before its bracketed sides.
std::int64_t read_square_code(value_reader& reader, square_case& c, const listed_read& r)
{
    c.count = r.head[0];
    c.width = r.head[1];
    c.height = r.head[1];
    if (r.heads == 3) prepend(c, r.head + 2, 1);
    if (c.sides.size() < static_cast<std::size_t>(c.count)) {
        fail_missing_side(reader, r.stop, c.sides.size(), c.count);
    }
    if (r.stop == token::star) read_caption(reader, c);
    c.sides_given = c.count;
    note_brackets(reader, c, 2);
    return r.first_line;
}

// "WxH" (or "WXH"), both 1 or more and within 32 bits, into `size`.
bool parse_size_word(const std::string& word, std::int32_t size[2])
{
    const std::size_t x = word.find_first_of("xX");
    if (x == std::string::npos || x == 0 || x + 1 == word.size()) return false;
    for (int part = 0; part < 2; ++part) {
        const std::string digits = part == 0 ? word.substr(0, x) : word.substr(x + 1);
        if (digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const std::int64_t value = std::stoll(digits);
        if (value < 1 || value > int32_max) return false;
        size[part] = static_cast<std::int32_t>(value);
    }
    return true;
}

// Whether the sides read so far close the first bracket with `width` in it:
// the sign that the two numbers before it are width and height, not the
// order and side of a squared square. Sides start at value `first_side`.
bool first_bracket_makes(const value_reader& reader, const square_case& c, std::int64_t first_side,
                         std::int64_t width)
{
    const value_reader::bracket_marks& m = reader.marks();
    if (m.first_close < 0) return false;
    const std::int64_t end = m.first_close - first_side;
    if (end < 1 || end > static_cast<std::int64_t>(c.sides.size())) return false;
    std::int64_t sum = 0;
    for (std::int64_t i = 0; i < end; ++i) sum += c.sides[static_cast<std::size_t>(i)];
    return sum == width;
}

// A code with its width and height before the brackets and no count: the
// order is the number of sides, up to the first value outside the brackets
// after them, a *, or the end of the line (of the file).
std::int64_t read_sized_code(value_reader& reader, square_case& c, listed_read& r,
                             std::int64_t first_side, std::int32_t width, std::int32_t height,
                             std::int64_t line)
{
    take_bare_values(reader, c, r);
    const value_reader::bracket_marks& m = reader.marks();
    if (m.outside >= 0) {
        c.sides.resize(static_cast<std::size_t>(m.outside - first_side));
    } else if (m.depth > 0 && (r.stop == token::word || r.stop == token::out_of_range)) {
        fail_at(reader, r.stop, "side " + std::to_string(c.sides.size() + 1));
    }
    if (c.sides.size() > static_cast<std::size_t>(int32_max)) {
        throw conversion_error("the code has more than 2147483647 sides", m.open_line);
    }
    c.count = static_cast<std::int32_t>(c.sides.size());
    c.width = width;
    c.height = height;
    if (r.stop == token::star && m.outside < 0) read_caption(reader, c);
    c.sides_given = c.count;
    note_brackets(reader, c, first_side);
    return line;
}

}  // namespace read_forms
