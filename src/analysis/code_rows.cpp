#include "analysis/code_rows.h"

namespace {

// Sides shown in a message are cut here: a code may hold a million.
constexpr std::size_t shown_limit = 80;

// The sides from `first` up to `last` in brackets, one per row when
// `placed` is given, else as one bracket; cut short past the limit.
std::string bracketed(const square_case& c, std::size_t first, std::size_t last,
                      const std::vector<square_box>* placed)
{
    std::string text = "(";
    for (std::size_t i = first; i < last; ++i) {
        if (text.size() > shown_limit) return text + "...";
        if (i > first) text += placed == nullptr || continues_row((*placed)[i - 1], (*placed)[i])
                                   ? ","
                                   : ")(";
        text += std::to_string(c.sides[i]);
    }
    return text + ")";
}

}  // namespace

std::string misgrouped_brackets(const square_case& c, const std::vector<square_box>& placed)
{
    const std::size_t n = c.sides.size();
    if (c.brackets.empty() || placed.size() != n) return {};
    const auto joined = [&](std::size_t i) {
        return i > 0 && i < n && continues_row(placed[i - 1], placed[i]);
    };
    for (std::size_t k = 0; k + 1 < c.brackets.size(); k += 2) {
        const auto first = static_cast<std::size_t>(c.brackets[k]);
        const auto last = static_cast<std::size_t>(c.brackets[k + 1]);
        bool one_row = !joined(first) && !joined(last);
        for (std::size_t i = first + 1; i < last && one_row; ++i) one_row = joined(i);
        if (one_row) continue;
        return "bracket " + std::to_string(k / 2 + 1) + ", " + bracketed(c, first, last, nullptr) +
               ", does not hold the squares of one row; by rows the sides are " +
               bracketed(c, 0, n, &placed);
    }
    return {};
}
