#include "enumeration/enumerate_options.h"

#include <cstdint>
#include <string>

#include "cli/option_checks.h"
#include "enumeration/compound_run.h"

namespace {

bool parse_order(const std::string& text, int& value)
{
    std::int64_t order = 0;
    if (!parse_number(text, least_order, greatest_order, order)) return false;
    value = static_cast<int>(order);
    return true;
}

bool parse_orders(const std::string& text, order_range& range)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos) {
        if (!parse_order(text, range.low)) return false;
        range.high = range.low;
        return true;
    }
    return parse_order(text.substr(0, dash), range.low) &&
           parse_order(text.substr(dash + 1), range.high) && range.low <= range.high;
}

}  // namespace

bool enumerates(const options& o)
{
    return !o.enumerate.empty() || !o.graphs.empty();
}

void check_enumeration(const options& o)
{
    check_compound_options(o);
    if (!enumerates(o)) {
        if (o.imperfect || o.squares || o.count || o.with_net) {
            throw usage_error(
                "--imperfect, --squares, --count and --with-net go with --enumerate "
                "N or --graphs FILE");
        }
        return;
    }
    if (o.with_net && o.count) throw usage_error("--with-net adds to codes; --count writes none");
    const std::string run = o.graphs.empty() ? "--enumerate" : "--graphs";
    if (!o.enumerate.empty() && !o.graphs.empty()) {
        throw usage_error("give --enumerate N or --graphs FILE, not both");
    }
    if (o.has_case || !o.catalogue.empty()) {
        throw usage_error(run + " makes its own cases; it takes no case file nor --catalogue");
    }
    if (o.check || o.canonical || !o.directory.empty() || !o.format.empty() || !o.size.empty()) {
        throw usage_error(run +
                          " writes a catalogue of canonical codes (or counts with --count); "
                          "check or draw it with a second run, as squares2tex --check "
                          "--catalogue FILE");
    }
    order_range range;
    if (!o.enumerate.empty() && !parse_orders(o.enumerate, range)) {
        throw usage_error("--enumerate takes an order N or a range of orders A-B, from " +
                          std::to_string(least_order) + " to " + std::to_string(greatest_order) +
                          ", not '" + o.enumerate + "'");
    }
    if (!o.part.empty() && o.count) {
        // A rectangle can come from c-nets of two parts: counts do not add up.
        throw usage_error(
            "--count counts a whole enumeration: the parts of --part can hold "
            "the same rectangle, so their counts do not add up; merge the parts' "
            "codes instead");
    }
}

order_range chosen_orders(const options& o)
{
    order_range range;
    parse_orders(o.enumerate, range);
    return range;
}
