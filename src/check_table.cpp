#include "check_table.h"

#include <charconv>
#include <initializer_list>
#include <string_view>

const char* const check_table_header =
    "case\tline\torder\twidth\theight\tdissection\tperfect\tsimple\tproblem\n";

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

}  // namespace

std::string check_table_row(std::int64_t number, std::int64_t line, const square_case& c,
                            const case_verdict& verdict)
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
    row += '\n';
    return row;
}

std::string unreadable_row(std::int64_t number, std::int64_t line, const std::string& message)
{
    return std::to_string(number) + "\t" + (line > 0 ? std::to_string(line) : "-") +
           "\t-\t-\t-\t-\t-\t-\t" + message + "\n";
}

std::string verdict_words(const case_verdict& v)
{
    if (!v.dissection) return "not a dissection";
    return std::string(v.perfect ? "perfect" : "imperfect") + ", " +
           (v.simple ? "simple" : "compound");
}
