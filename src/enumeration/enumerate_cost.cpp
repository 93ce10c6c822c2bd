#include "enumeration/enumerate_cost.h"

#include <cmath>
#include <cstdio>

#include "enumeration/cnet_generator.h"
#include "enumeration/enumeration_request.h"
#include "messages.h"

namespace {

// The pace of order 21 on two cores (docs/performance.md), and the memory
// the codes of all of order 22 took: the codes grow about 3.5 times an order.
constexpr double cnets_a_second = 20000;
constexpr double order_22_bytes = 3.2 * (1ull << 30);
constexpr double bytes_worth_a_warning = 4.0 * (1ull << 30);
constexpr double seconds_worth_a_warning = 3600;

std::string rounded(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.1f" : value < 1e6 ? "%.0f" : "%.1e", value);
    return text;
}

std::string duration(double seconds)
{
    if (seconds < 2 * 86400) return rounded(seconds / 3600) + " hours";
    if (seconds < 2 * 365 * 86400) return rounded(seconds / 86400) + " days";
    return rounded(seconds / (365 * 86400.0)) + " years";
}

}  // namespace

double cnets_to_solve(int low, int high, std::int64_t parts)
{
    double total = 0;
    for (int order = low; order <= high; ++order) total += cnets_of_edges(order + 1);
    return total / static_cast<double>(parts);
}

std::string cost_warnings(const enumeration_request& o, int low, int high, std::int64_t parts)
{
    if (o.quiet) return {};
    std::string messages;
    const std::string orders =
        low == high ? "order " + std::to_string(low)
                    : "orders " + std::to_string(low) + " to " + std::to_string(high);
    const double cnets = cnets_to_solve(low, high, parts);
    const double seconds = cnets / cnets_a_second;
    if (seconds > seconds_worth_a_warning) {
        messages += format_message(
            "", 0,
            "warning: " + orders + (low == high ? " means" : " mean") + " about " + rounded(cnets) +
                " c-nets to solve; at about 20000 a second that is about " + duration(seconds) +
                "; --part K/N shares them out among machines");
    }
    // Squares are few; the imperfect rectangles about a fourteenth of all;
    // a count keeps only the crossed codes, some 1 in 10000.
    if (!o.squares && !o.count) {
        const double share = o.imperfect ? 1.0 / 14 : 1.0;
        const double bytes =
            order_22_bytes * std::pow(3.5, high - 22) * share / static_cast<double>(parts);
        if (bytes > bytes_worth_a_warning) {
            messages += format_message(
                "", 0,
                "warning: order " + std::to_string(high) + " keeps about " +
                    rounded(bytes / (1ull << 30)) +
                    " GiB of codes in memory before it writes them, more than most machines "
                    "have; --part K/N splits the order into parts that fit");
        }
    }
    return messages;
}

std::string nothing_found_note(const enumeration_request& o, int order)
{
    return format_message(
        "", 0,
        std::string("note: no simple ") + (o.imperfect ? "imperfect" : "perfect") + " squared " +
            (o.squares ? "square" : "rectangle") + " has order " + std::to_string(order));
}
