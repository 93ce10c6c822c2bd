#include "cli/option_values.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <string>

#include "catalogue/case_work.h"
#include "document/drawing_style.h"

bool parse_number(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value)
{
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

bool parse_part(const std::string& text, catalogue_part& part)
{
    const std::size_t slash = text.find('/');
    return slash != std::string::npos &&
           parse_number(text.substr(slash + 1), 1, most_parts, part.n) &&
           parse_number(text.substr(0, slash), 1, part.n, part.k);
}

namespace {

bool parse_order(const std::string& text, int& value)
{
    std::int64_t order = 0;
    if (!parse_number(text, least_order, greatest_order, order)) return false;
    value = static_cast<int>(order);
    return true;
}

// The drawing's size limits: the largest is that of any drawing.
constexpr double smallest_size_mm = 1;
constexpr double largest_size_mm = largest_drawing_mm;

}  // namespace

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

double size_in_mm(const std::string& text)
{
    const struct {
        const char* name;
        double mm;
    } units[] = {{"mm", 1}, {"cm", 10}, {"in", 25.4}, {"pt", 25.4 / 72}};
    const std::string bad =
        "--size takes a length such as 120mm, 12cm, 4.5in or 300pt, not '" + text + "'";
    const std::size_t digits = text.find_first_not_of("0123456789.");
    if (digits == 0 || digits == std::string::npos || text.size() - digits != 2) {
        throw usage_error(bad);
    }
    const std::string number = text.substr(0, digits);
    if (number.find('.') != number.rfind('.') || number == ".") throw usage_error(bad);
    for (const auto& unit : units) {
        if (text.compare(digits, 2, unit.name) != 0) continue;
        double value = 0;
        std::from_chars(number.data(), number.data() + number.size(), value);
        const double mm = value * unit.mm;
        if (!(mm >= smallest_size_mm && mm <= largest_size_mm)) {
            throw usage_error("--size " + text + " is out of range: give 1mm to 5000mm");
        }
        return mm;
    }
    throw usage_error(bad);
}

namespace {

// A bound of --only, 'width<=200', or false when the term is none.
bool parse_bound(const std::string& term, size_bound& bound)
{
    static const char* const measures[] = {"order", "width", "height", "longer", "shorter"};
    static const char* const relations[] = {"<", "<=", "=", ">=", ">"};
    const std::size_t op = term.find_first_of("<=>");
    if (op == std::string::npos) return false;
    const std::size_t number = term.find_first_not_of("<=>", op);
    const auto measure = std::find(std::begin(measures), std::end(measures), term.substr(0, op));
    const auto relation =
        std::find(std::begin(relations), std::end(relations), term.substr(op, number - op));
    if (measure == std::end(measures) || relation == std::end(relations) ||
        number == std::string::npos ||
        !parse_number(term.substr(number), 0, std::numeric_limits<std::int32_t>::max(),
                      bound.value)) {
        throw usage_error("bad bound '" + term +
                          "' for --only: a measure (order, width, height, longer, shorter), "
                          "one of < <= = >= >, and a whole number, as 'width<=200'");
    }
    bound.of = static_cast<size_bound::measure>(measure - std::begin(measures));
    bound.is = static_cast<size_bound::relation>(relation - std::begin(relations));
    return true;
}

}  // namespace

unsigned parse_kinds(const std::string& text, std::vector<size_bound>& bounds)
{
    static const struct {
        const char* name;
        unsigned bit;
    } kinds[] = {{"dissection", kind_dissection},
                 {"not-dissection", kind_not_dissection},
                 {"perfect", kind_perfect},
                 {"imperfect", kind_imperfect},
                 {"simple", kind_simple},
                 {"compound", kind_compound},
                 {"trivially-compound", kind_trivially_compound},
                 {"unreadable", kind_unreadable},
                 {"square", kind_square},
                 {"oblong", kind_oblong}};
    unsigned bits = 0;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::string name = text.substr(at, comma - at);
        size_bound bound;
        if (parse_bound(name, bound)) {
            bounds.push_back(bound);
            at = comma + 1;
            continue;
        }
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                       [&](const auto& k) { return name == k.name; });
        if (kind == std::end(kinds)) {
            throw usage_error("unknown kind '" + name +
                              "' for --only: choose dissection, not-dissection, perfect, "
                              "imperfect, simple, compound, trivially-compound, unreadable, "
                              "square or oblong, or a bound as 'width<=200', joined by commas");
        }
        bits |= kind->bit;
        at = comma + 1;
    }
    return bits;
}
