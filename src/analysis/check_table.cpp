#include "analysis/check_table.h"

#include <charconv>
#include <initializer_list>
#include <string_view>

#include "analysis/structure.h"
#include "shown_text.h"

std::string check_table_header(bool canonical)
{
    return std::string("case\tline\torder\twidth\theight\tdissection\tperfect\tsimple\tproblem") +
           (canonical ? "\tcanonical" : "") + "\tstructure\tsubrectangles\tcaption\n";
}

namespace {

const char* answer(bool known, bool value)
{
    if (!known) return "-";
    return value ? "yes" : "no";
}

// The row's numbers, each followed by a tab; a catalogue prints millions.
std::string numbers(std::initializer_list<std::int64_t> values)
{
    char text[5 * 24];
    char* out = text;
    for (const std::int64_t v : values) {
        out = std::to_chars(out, text + sizeof text, v).ptr;
        *out++ = '\t';
    }
    return std::string(text, out);
}

// A cell of text: "-" when empty; a tab or line end in it, which would
// break the row, written as \xNN (the reader shows captions so already).
void append_cell(std::string& row, std::string_view text)
{
    if (text.empty()) {
        row += '-';
        return;
    }
    for (const char c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            append_escaped_byte(row, static_cast<unsigned char>(c));
        } else {
            row += c;
        }
    }
}

}  // namespace

std::string check_table_row(std::int64_t number, std::int64_t line, const square_case& c,
                            const case_verdict& verdict, const std::string* canonical)
{
    const bool d = verdict.dissection;
    std::string row = numbers({number, line, c.count, c.width, c.height});
    row += answer(true, d);
    row += '\t';
    row += answer(d, verdict.perfect);
    row += '\t';
    row += answer(d, verdict.simple);
    row += '\t';
    row += d ? std::string_view("-") : std::string_view(verdict.problem);
    row += '\t';
    if (canonical != nullptr) {
        append_cell(row, *canonical);
        row += '\t';
    }
    row += d ? structure_name(structure_of(verdict)) : "-";
    row += '\t';
    if (verdict.subrectangles_listed) {
        append_cell(row, subrectangle_list(verdict.subrectangles));
    } else {
        row += '?';
    }
    row += '\t';
    append_cell(row, c.caption);
    row += '\n';
    return row;
}

std::string unreadable_row(std::int64_t number, std::int64_t line, const std::string& message,
                           bool canonical, std::string_view caption)
{
    std::string row = std::to_string(number) + "\t" + (line > 0 ? std::to_string(line) : "-") +
                      "\t-\t-\t-\t-\t-\t-\t" + message + (canonical ? "\t-\t-\t-\t" : "\t-\t-\t");
    append_cell(row, caption);
    return row + '\n';
}

std::string verdict_words(const case_verdict& v)
{
    if (!v.dissection) return "not a dissection";
    return std::string(v.perfect ? "perfect" : "imperfect") + ", " +
           (v.simple ? "simple" : "compound");
}
