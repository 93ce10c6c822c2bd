#include "check_table.h"

const char* const check_table_header =
    "case\tline\torder\twidth\theight\tdissection\tperfect\tsimple\tproblem\n";

namespace {

const char* answer(bool known, bool value)
{
    if (!known) return "-";
    return value ? "yes" : "no";
}

}  // namespace

std::string check_table_row(std::int64_t number, std::int64_t line, const square_case& c,
                            const case_verdict& verdict)
{
    const bool d = verdict.dissection;
    return std::to_string(number) + "\t" + std::to_string(line) + "\t" + std::to_string(c.count) +
           "\t" + std::to_string(c.width) + "\t" + std::to_string(c.height) + "\t" +
           answer(true, d) + "\t" + answer(d, verdict.perfect) + "\t" + answer(d, verdict.simple) +
           "\t" + (d ? "-" : verdict.problem) + "\n";
}

std::string unreadable_row(std::int64_t number, std::int64_t line, const std::string& message)
{
    return std::to_string(number) + "\t" + (line > 0 ? std::to_string(line) : "-") +
           "\t-\t-\t-\t-\t-\t-\t" + message + "\n";
}
