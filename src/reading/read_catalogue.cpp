#include "reading/read_catalogue.h"

#include <cstring>

#include "reading/read_case.h"

namespace {

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool is_line_end(int c)
{
    return c == '\n' || c == '\r';
}

}  // namespace

bool is_case_line(std::string_view line)
{
    for (const char c : line) {
        if (!is_blank(c)) return !is_line_end(c) && c != '#';
    }
    return false;
}

void line_tally::feed(std::string_view block)
{
    line_end_finder ends(block);
    std::size_t at = 0;
    // The LF of a CR LF split between two blocks ends no second line.
    if (after_cr && !block.empty()) {
        after_cr = false;
        if (block[0] == '\n') at = 1;
    }
    while (at < block.size()) {
        if (in_lead) {
            if (is_blank(block[at])) {
                ++at;
                continue;
            }
            in_lead = false;
            if (!is_line_end(block[at]) && block[at] != '#') ++cases;
        }
        at = ends.next(at);
        if (at == block.size()) return;
        ++lines;
        in_lead = true;
        if (block[at] == '\r') {
            if (at + 1 == block.size()) {
                after_cr = true;
                return;
            }
            if (block[at + 1] == '\n') ++at;
        }
        ++at;
    }
}

void read_case_line(value_reader& reader, square_case& c)
{
    try {
        read_case_values(reader, c);
    } catch (const conversion_error&) {
        reader.skip_line();
        throw;
    }
    reader.skip_line();
}

catalogue_reader::catalogue_reader(std::FILE* stream)
    : reader_(stream, value_span::line, "the catalogue")
{
}

catalogue_reader::catalogue_reader(std::string_view text, std::int64_t first_line,
                                   std::int64_t first_number)
    : reader_(text, nullptr, value_span::line, "the catalogue", first_line),
      number_(first_number - 1),
      held_(true)
{
}

bool catalogue_reader::next(square_case& c, catalogue_position& where)
{
    for (;;) {
        const int first = reader_.skip_blanks();
        if (first == EOF) return false;
        if (!is_line_end(first) && first != '#') break;
        reader_.skip_line();
    }
    where = {++number_, reader_.line(), {}};
    if (!held_) {
        read_case_line(reader_, c);
        return true;
    }
    // In memory the reader never moves its text, so the line is what lies
    // between where it stood and where it stands after the line.
    const char* const start = reader_.unread().data();
    const auto take_text = [&] {
        std::string_view text(start, static_cast<std::size_t>(reader_.unread().data() - start));
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
        where.text = text;
    };
    try {
        read_case_line(reader_, c);
    } catch (const conversion_error&) {
        take_text();
        throw;
    }
    take_text();
    return true;
}
