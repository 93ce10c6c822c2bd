#include "analysis/tiling_report.h"

namespace {

constexpr std::size_t examples_per_warning = 5;

// "column 3 ends" or "columns 3 to 5 end".
std::string name_columns(const column_span& span)
{
    if (span.length == 1) return "column " + std::to_string(span.first) + " ends";
    return "columns " + std::to_string(span.first) + " to " +
           std::to_string(span.first + span.length - 1) + " end";
}

// Notes a fault of one kind at square `s`: the problem if it is the first
// fault of the list, a warning if it is the first of its kind (its words
// are only formed then: a bad list may repeat a fault a million times).
// True when the warning names the square.
template <typename Warning>
bool note_fault(tiling_report& report, bool& seen, const placed_square& s, const char* problem,
                Warning warning)
{
    if (seen && !report.problem.empty()) return false;
    const std::string square = name_square(s.number, s.where);
    if (report.problem.empty()) report.problem = square + problem;
    if (seen) return false;
    seen = true;
    report.warnings.push_back(square + warning());
    return true;
}

}  // namespace

bool note_faulty_square(tiling_report& report, const placed_square& s)
{
    const placement& p = s.where;
    if (p.side <= 0) {
        if (report.problem.empty())
            report.problem = name_square(s.number, p) + " has a side of 0 or less";
        if (++report.not_positive > examples_per_warning) return false;
        report.warnings.push_back(name_square(s.number, p) + " has a side of 0 or less");
        return true;
    }
    bool named = false;
    if (s.under.lowest != s.under.highest) {
        named |= note_fault(report, report.uneven_seen, s, " overlaps an earlier square", [&] {
            return " rests on uneven ground: the columns under it lie at depths " +
                   std::to_string(s.under.lowest) + " to " + std::to_string(s.under.highest);
        });
    }
    if (p.top - p.side < 0) {
        named |= note_fault(report, report.below_seen, s, " reaches below the bottom edge", [&] {
            return " reaches below the bottom edge, to y = " + std::to_string(p.top - p.side);
        });
    }
    return named;
}

void note_end(tiling_report& report, const skyline& sky)
{
    if (report.not_positive > examples_per_warning) {
        report.warnings.push_back("and " +
                                  std::to_string(report.not_positive - examples_per_warning) +
                                  " more squares have a side of 0 or less");
    }
    // Nothing to name in the usual case: spare gathering the spans.
    if (lowest_depth(sky) >= report.height) return;
    std::size_t short_spans = 0;
    for (const column_span& span : column_spans(sky)) {
        if (span.depth >= report.height) continue;
        if (report.problem.empty()) {
            report.problem = name_columns(span) + " short of the bottom edge";
        }
        if (++short_spans <= examples_per_warning) {
            report.warnings.push_back(
                name_columns(span) + " at depth " + std::to_string(span.depth) +
                ", short of the bottom edge at depth " + std::to_string(report.height));
        }
    }
    if (short_spans > examples_per_warning) {
        report.warnings.push_back("and " + std::to_string(short_spans - examples_per_warning) +
                                  " more runs of columns end short of the bottom edge");
    }
}

void note_failure(tiling_report& report, const std::string& message)
{
    if (report.problem.empty()) report.problem = message;
}
