#include "cli/option_checks.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>
#include <limits>
#include <string>

#include "document/drawing_style.h"
#include "document/picture_writer.h"
#include "enumeration/enumerate_options.h"
#include "shown_text.h"

// A whole number from `low` to `high` in plain decimal digits, or false.
bool parse_number(const std::string& text, std::int64_t low, std::int64_t high,
                  std::int64_t& value)
{
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

constexpr std::int64_t most_parts = 1000000;

bool parse_part(const std::string& text, catalogue_part& part)
{
    const std::size_t slash = text.find('/');
    return slash != std::string::npos &&
           parse_number(text.substr(slash + 1), 1, most_parts, part.n) &&
           parse_number(text.substr(0, slash), 1, part.n, part.k);
}

namespace {

bool has_extension(const std::string& path, const std::string& extension)
{
    if (path.size() < extension.size()) return false;
    std::string end = path.substr(path.size() - extension.size());
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == extension;
}

// Names that ask for pictures no format writes.
const char* const refused_extensions[] = {".png", ".jpg", ".jpeg", ".gif", ".eps", ".ps"};

// The drawing's size limits: the largest is that of any drawing.
constexpr double smallest_size_mm = 1;
constexpr double largest_size_mm = largest_drawing_mm;

// --size: a decimal number and a unit, as 120mm, 12cm, 4.5in or 300pt.
double size_in_mm(const std::string& text)
{
    const struct {
        const char* name;
        double mm;
    } units[] = {{"mm", 1}, {"cm", 10}, {"in", 25.4}, {"pt", 25.4 / 72}};
    const std::string bad = "--size takes a length such as 120mm, 12cm, 4.5in or 300pt, not '" +
                            text + "'";
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

// The part of a format's extension from its last dot: ".tex" for tikz's "-tikz.tex".
std::string file_extension(const std::string& extension)
{
    return extension.substr(std::min(extension.size(), extension.rfind('.')));
}

// An output name that ends as another format's drawings do would get a
// file its name belies (LaTeX in t.pdf).
void refuse_other_extension(const options& o)
{
    const std::string own = file_extension(chosen_format(o).extension);
    for (const std::string& extension : format_extensions()) {
        const std::string other = file_extension(extension);
        if (other != own && has_extension(o.output, other)) {
            throw usage_error("the output '" + shown_path(o.output) + "' is named as a " + other +
                              " file, but -f " + chosen_format(o).name + " writes " + own +
                              " files");
        }
    }
}

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

// --only's kinds, as bits, and its bounds on sizes.
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

// --net writes networks, one per case, as planar_code or graph6.
void check_net(const options& o, const std::string& format_given)
{
    if (o.check || o.canonical || !o.directory.empty() || enumerates(o) || !o.size.empty()) {
        throw usage_error(
            "--net writes each dissection's network; it goes with none of --check, "
            "--canonical, --directory, --size, --enumerate or --graphs");
    }
    if (!o.part.empty()) {
        throw usage_error("--part splits a table among runs; --net writes one file of networks");
    }
    if (!o.format.empty() && o.format != net_formats[0] && o.format != net_formats[1]) {
        throw usage_error("--net writes -f " + std::string(net_formats[0]) + " or -f " +
                          net_formats[1] + ", not '" + format_given + "'");
    }
}

}  // namespace

void check_combination(options& o)
{
    if (o.help || o.version) return;
    // Format names in any case, as output names' extensions are taken.
    const std::string format_given = o.format;
    for (char& c : o.format) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool catalogue = !o.catalogue.empty();
    const bool enumeration = enumerates(o);
    check_enumeration(o);
    if (!o.has_case && !catalogue && !enumeration) throw usage_error("no case file given");
    if (o.has_case && catalogue) {
        throw usage_error("give a case file or --catalogue FILE, not both");
    }
    if (o.canonical && (!o.format.empty() || !o.directory.empty())) {
        throw usage_error(
            "--canonical prints codes, one line per case; it goes with neither --format nor "
            "--directory");
    }
    if (o.net) check_net(o, format_given);
    if (o.stats && (o.catalogue.empty() || o.check || o.canonical || o.net || !o.output.empty() ||
                    !o.format.empty() || !o.directory.empty() || !o.part.empty())) {
        throw usage_error(
            "--stats prints a table of a whole catalogue, --catalogue FILE, on standard output; "
            "it goes with none of --check, --canonical, --net, -o, -f, -d or --part");
    }
    if (o.canonical && o.check && !o.output.empty()) {
        throw usage_error(
            "--check --canonical prints the table with a canonical column on standard output; "
            "it takes no --output");
    }
    // Codes written to a file of any name are still codes.
    if (!o.canonical && !o.net && !enumeration) {
        for (const char* extension : refused_extensions) {
            if (has_extension(o.output, extension)) {
                throw usage_error("squares2tex does not write " + std::string(extension) +
                                  " files: choose a format, " + format_names());
            }
        }
        for (const char* implied : {"svg", "pdf"}) {
            if (o.format.empty() && has_extension(o.output, std::string(".") + implied)) {
                o.format = implied;
            }
        }
    }
    const bool book = writes_book(o);
    if (catalogue && !o.output.empty() && !o.canonical && !o.net && !book) {
        throw usage_error(
            "--output names one drawing; a catalogue's drawings go to --directory DIR, or "
            "into one PDF with -f pdf -o BOOK.pdf");
    }
    if (book && !o.directory.empty()) {
        throw usage_error("a catalogue is drawn into --directory DIR or into one book, not both");
    }
    if (!catalogue && !o.directory.empty()) {
        throw usage_error(
            "--directory is for a catalogue's drawings; name one drawing with --output");
    }
    if (catalogue && !o.net && !o.format.empty() && o.directory.empty() && !book) {
        throw usage_error("--format draws a catalogue only into --directory DIR, or as pdf "
                          "into one book with -o BOOK.pdf");
    }
    if (catalogue && !o.check && !o.canonical && !o.net && !o.stats && o.directory.empty() &&
        !book) {
        throw usage_error(
            "--catalogue needs --check, --canonical, --net, --stats or --directory DIR");
    }
    if (o.check && descriptor_named(o.output) == 1) {
        throw usage_error(
            "--check prints its table on standard output; the drawing cannot go there too");
    }
    std::int64_t jobs = 0;
    if (!o.jobs.empty() && !parse_number(o.jobs, 1, most_jobs, jobs)) {
        throw usage_error("--jobs takes a number of threads from 1 to " +
                          std::to_string(most_jobs) + ", not '" + o.jobs + "'");
    }
    if (!o.part.empty()) {
        catalogue_part part;
        if (!parse_part(o.part, part)) {
            throw usage_error("--part takes K/N, the K-th of N parts (1 <= K <= N <= " +
                              std::to_string(most_parts) + "), not '" + o.part + "'");
        }
        if (!enumeration && (!catalogue || o.catalogue == "-")) {
            throw usage_error("--part needs a catalogue file, --catalogue FILE, or --enumerate");
        }
        if (!o.directory.empty() || book) {
            throw usage_error(
                "--part splits a table among runs; drawings and books are written whole");
        }
    }
    if (!o.only.empty()) {
        o.only_kinds = parse_kinds(o.only, o.only_sizes);
        if (!catalogue) throw usage_error("--only chooses among a catalogue's cases: --catalogue FILE");
    }
    if (!o.net && !o.format.empty() && find_format(o.format) == nullptr) {
        throw usage_error("unknown format '" + format_given + "': choose " + format_names());
    }
    if (!o.size.empty()) {
        o.settings.size_mm = size_in_mm(o.size);
        if (!chosen_format(o).sized) {
            throw usage_error("--size needs a drawing of its own size, " +
                              format_names(true) + ": the tex document's picture is 150 mm "
                              "wide on an A4 page");
        }
    }
    if (!o.canonical && !o.net && !enumeration) refuse_other_extension(o);
}
