#include "catalogue/code_stats.h"

#include "analysis/case_check.h"
#include "reading/read_catalogue.h"
#include "reading/value_reader.h"

void code_stats::feed(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            partial_ += text;
            return;
        }
        if (partial_.empty()) {
            count_line(text.substr(0, end));
        } else {
            partial_ += text.substr(0, end);
            count_line(partial_);
            partial_.clear();
        }
        text.remove_prefix(end + 1);
    }
}

std::string code_stats::result(bool svg)
{
    if (!partial_.empty()) count_line(partial_);
    partial_.clear();
    return svg ? stats_histogram(stats_) : stats_table(stats_);
}

void code_stats::count_line(std::string_view line)
{
    if (!is_case_line(line)) return;
    value_reader reader(line, nullptr, value_span::line, "the enumeration", 1);
    square_case c;
    read_case_line(reader, c);
    const case_verdict verdict = check_case(c, work_);
    // The enumeration's own codes are dissections; anything else is a fault of ours.
    if (!verdict.dissection)
        throw conversion_error("an enumerated code is not a dissection: " + verdict.problem);
    add_dissection(stats_, c, verdict, work_.squares);
}
