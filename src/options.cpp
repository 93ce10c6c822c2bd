#include "options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cores.h"
#include "document/picture_writer.h"
#include "shown_text.h"
#include "enumeration/enumerate_options.h"

const char* const usage_line =
    "usage: squares2tex [OPTION]... CASE-FILE   or   squares2tex [OPTION]... --catalogue FILE\n";

const char* const help_text =
    "Draws a list of squares placed one by one, each at the highest, left-most free\n"
    "spot of a rectangle filled from its top edge down.\n"
    "\n"
    "  squares2tex [OPTION]... CASE-FILE          one case: writes squares.tex\n"
    "                                             ('-': the case from standard input)\n"
    "  squares2tex [OPTION]... --catalogue FILE   many cases, one per line\n"
    "  squares2tex [OPTION]... --enumerate N      every simple squared rectangle\n"
    "                                             of order N, as canonical codes\n"
    "\n"
    "A case: the count of squares, the width, the height, then the sides in the\n"
    "order they are placed, as whole numbers:  9 33 32 18 15 7 8 14 4 10 1 9\n"
    "Codes as published read too: 9 33 32 (18,15)(7,8)(14,4)(10,1)(9), the order\n"
    "and side of a squared square before its brackets, or the brackets alone (a\n"
    "line that begins with a bracket); text after a * that follows the last side\n"
    "is the case's caption.\n"
    "\n"
    "Options (before the case file):\n"
    "  -f, --format FORMAT    tex (PSTricks document, the default), svg, tikz\n"
    "                         (a standalone TikZ document for pdflatex) or pdf,\n"
    "                         in any case\n"
    "  -o, --output FILE      write FILE instead of squares.tex, squares.svg,\n"
    "                         squares-tikz.tex or squares.pdf; '-' writes to\n"
    "                         standard output; a name ending in .svg or .pdf\n"
    "                         implies that format\n"
    "      --size LENGTH      the longer side of the drawing's frame, as 120mm,\n"
    "                         12cm, 4.5in or 300pt (1/72 in), for pdf, svg and\n"
    "                         tikz (pdf and tikz: 150mm unless given)\n"
    "      --check            print a table: is each case a dissection, perfect,\n"
    "                         simple; draws nothing unless -f or -o asks for it\n"
    "      --canonical        print each dissection's canonical code, one line per\n"
    "                         case (to -o FILE if given): the same for every\n"
    "                         rotation, reflection and multiple, so duplicates\n"
    "                         show as equal lines; with --check, a column of\n"
    "                         the table\n"
    "      --catalogue FILE   read many cases, one per line ('-': standard input)\n"
    "  -d, --directory DIR    with --catalogue: one drawing per case in DIR,\n"
    "                         with an index.html gallery for svg\n"
    "  -j, --jobs N           the threads of a catalogue run or an enumeration\n"
    "                         (default: every core)\n"
    "      --part K/N         only the K-th of N parts of a catalogue file, or of\n"
    "                         the c-nets of --enumerate\n"
    "      --enumerate N      every simple perfect squared rectangle of order N\n"
    "                         (or A-B: of orders A to B), squares included, each\n"
    "                         once, sorted (merge parts with\n"
    "                         LC_ALL=C sort -m -u -k1,1n -k2)\n"
    "      --graphs FILE      the same from the c-nets of a planar_code file\n"
    "      --imperfect        the simple imperfect rectangles instead\n"
    "      --squares          squared squares only\n"
    "      --count            per order: order, c-nets, perfect, imperfect,\n"
    "                         perfect squares, imperfect squares\n"
    "  -q, --quiet            no warnings and no closing line; errors still show\n"
    "      --only KIND,...    keep only a catalogue's cases of every kind given:\n"
    "                         dissection, not-dissection, perfect, imperfect,\n"
    "                         simple, compound, unreadable\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "Exit status: 0 success, 1 a case failed or is not a dissection (--check),\n"
    "2 a usage error.\n";

namespace {

// Each option sets one text or one flag of the options.
struct option_rule {
    const char* name;
    char short_name;
    std::string options::*text;  // null for a flag
    bool options::*flag;

    bool takes_value() const { return text != nullptr; }
};

const option_rule rules[] = {
    {"format", 'f', &options::format, nullptr},
    {"output", 'o', &options::output, nullptr},
    {"directory", 'd', &options::directory, nullptr},
    {"catalogue", '\0', &options::catalogue, nullptr},
    {"jobs", 'j', &options::jobs, nullptr},
    {"part", '\0', &options::part, nullptr},
    {"size", '\0', &options::size, nullptr},
    {"enumerate", '\0', &options::enumerate, nullptr},
    {"graphs", '\0', &options::graphs, nullptr},
    {"imperfect", '\0', nullptr, &options::imperfect},
    {"squares", '\0', nullptr, &options::squares},
    {"count", '\0', nullptr, &options::count},
    {"only", '\0', &options::only, nullptr},
    {"check", '\0', nullptr, &options::check},
    {"canonical", '\0', nullptr, &options::canonical},
    {"quiet", 'q', nullptr, &options::quiet},
    {"help", 'h', nullptr, &options::help},
    {"version", '\0', nullptr, &options::version},
};

void set_option(options& o, const option_rule& rule, const std::string& value)
{
    if (rule.takes_value()) {
        o.*rule.text = value;
    } else {
        o.*rule.flag = true;
    }
}

// The edits (insert, delete or change a letter) that turn one word into the other.
std::size_t edit_distance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// "unknown option '--fromat'; did you mean '--format'?" when one option is close.
usage_error unknown_long(const std::string& given)
{
    std::string message = "unknown option '--" + given + "'";
    const option_rule* close = nullptr;
    for (const option_rule& rule : rules) {
        if (edit_distance(given, rule.name) > 2) continue;
        if (close != nullptr) return usage_error(message, true);
        close = &rule;
    }
    if (close != nullptr) message += std::string("; did you mean '--") + close->name + "'?";
    return usage_error(message, true);
}

// A long option by its name or an unambiguous beginning of it.
const option_rule& find_long(const std::string& given)
{
    const option_rule* found = nullptr;
    std::string candidates;  // as --help spells them
    int matches = 0;
    for (const option_rule& rule : rules) {
        if (given == rule.name) return rule;
        if (std::strncmp(rule.name, given.c_str(), given.size()) == 0) {
            candidates += std::string(" '--") + rule.name + "'";
            if (matches++ == 0) found = &rule;
        }
    }
    if (found == nullptr) throw unknown_long(given);
    if (matches > 1) {
        throw usage_error("option '--" + given + "' is ambiguous; possibilities:" + candidates,
                          true);
    }
    return *found;
}

const option_rule& find_short(char c)
{
    for (const option_rule& rule : rules) {
        if (rule.short_name == c) return rule;
    }
    throw usage_error(std::string("unknown option '-") + c + "'", true);
}

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

// Threads past this many gain nothing on any machine and each holds a
// drawing's temporary file open.
constexpr std::int64_t most_jobs = 256;
constexpr std::int64_t most_parts = 1000000;

bool parse_part(const std::string& text, catalogue_part& part)
{
    const std::size_t slash = text.find('/');
    return slash != std::string::npos &&
           parse_number(text.substr(slash + 1), 1, most_parts, part.n) &&
           parse_number(text.substr(0, slash), 1, part.n, part.k);
}

bool has_extension(const std::string& path, const std::string& extension)
{
    if (path.size() < extension.size()) return false;
    std::string end = path.substr(path.size() - extension.size());
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == extension;
}

// Names that ask for pictures no format writes.
const char* const refused_extensions[] = {".png", ".jpg", ".jpeg", ".gif", ".eps", ".ps"};

// The drawing's size limits: a page of 5 m (with its margin) is still
// within the 200 inches PDF viewers show.
constexpr double smallest_size_mm = 1;
constexpr double largest_size_mm = 5000;

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

// --only's kinds, as bits.
unsigned parse_kinds(const std::string& text)
{
    static const struct {
        const char* name;
        unsigned bit;
    } kinds[] = {{"dissection", kind_dissection}, {"not-dissection", kind_not_dissection},
                 {"perfect", kind_perfect},       {"imperfect", kind_imperfect},
                 {"simple", kind_simple},         {"compound", kind_compound},
                 {"unreadable", kind_unreadable}};
    unsigned bits = 0;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::string name = text.substr(at, comma - at);
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                       [&](const auto& k) { return name == k.name; });
        if (kind == std::end(kinds)) {
            throw usage_error("unknown kind '" + name +
                              "' for --only: choose dissection, not-dissection, perfect, "
                              "imperfect, simple, compound or unreadable, joined by commas");
        }
        bits |= kind->bit;
        at = comma + 1;
    }
    return bits;
}

// Options that each make sense but not together.
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
    if (o.canonical && o.check && !o.output.empty()) {
        throw usage_error(
            "--check --canonical prints the table with a canonical column on standard output; "
            "it takes no --output");
    }
    // Codes written to a file of any name are still codes.
    if (!o.canonical && !enumeration) {
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
    if (catalogue && !o.output.empty() && !o.canonical && !book) {
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
    if (catalogue && !o.format.empty() && o.directory.empty() && !book) {
        throw usage_error("--format draws a catalogue only into --directory DIR, or as pdf "
                          "into one book with -o BOOK.pdf");
    }
    if (catalogue && !o.check && !o.canonical && o.directory.empty() && !book) {
        throw usage_error("--catalogue needs --check, --canonical or --directory DIR");
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
        o.only_kinds = parse_kinds(o.only);
        if (!catalogue) throw usage_error("--only chooses among a catalogue's cases: --catalogue FILE");
    }
    if (!o.format.empty() && find_format(o.format) == nullptr) {
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
    if (!o.canonical && !enumeration) refuse_other_extension(o);
}

}  // namespace

options parse_options(int argc, const char* const* argv)
{
    options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool ends_options = arg == "--";
        if (ends_options || arg.size() < 2 || arg[0] != '-') {
            if (ends_options && ++i == argc) break;
            o.case_path = argv[i];
            o.has_case = true;
            for (int k = i + 1; k < argc; ++k) {
                const std::string rest = argv[k];
                if (rest.size() > 1 && rest[0] == '-') o.ignored.push_back(rest);
            }
            break;
        }
        const auto take_value = [&](const option_rule& rule, const std::string& shown) {
            if (i + 1 >= argc) throw usage_error("option '" + shown + "' needs a value");
            const std::string value = argv[++i];
            if (value.empty()) throw usage_error("option '" + shown + "' needs a value");
            set_option(o, rule, value);
        };
        if (arg[1] == '-') {
            const std::size_t equals = arg.find('=');
            const option_rule& rule = find_long(arg.substr(2, equals - 2));
            const std::string shown = std::string("--") + rule.name;
            if (equals == std::string::npos) {
                if (rule.takes_value()) {
                    take_value(rule, shown);
                } else {
                    set_option(o, rule, "");
                }
            } else {
                if (!rule.takes_value()) throw usage_error("option '" + shown + "' takes no value");
                if (equals + 1 == arg.size())
                    throw usage_error("option '" + shown + "' needs a value");
                set_option(o, rule, arg.substr(equals + 1));
            }
            continue;
        }
        // One or more short options; one that takes a value takes the rest
        // of the word or the next argument.
        for (std::size_t k = 1; k < arg.size(); ++k) {
            const option_rule& rule = find_short(arg[k]);
            if (!rule.takes_value()) {
                set_option(o, rule, "");
                continue;
            }
            const std::string shown = std::string("-") + rule.short_name;
            if (k + 1 < arg.size()) {
                set_option(o, rule, arg.substr(k + 1));
            } else {
                take_value(rule, shown);
            }
            break;
        }
    }
    check_combination(o);
    return o;
}

const picture_format& chosen_format(const options& o)
{
    return o.format.empty() ? default_format() : *find_format(o.format);
}

int job_count(const options& o)
{
    std::int64_t jobs = 0;
    if (parse_number(o.jobs, 1, most_jobs, jobs)) return static_cast<int>(jobs);
    return std::min<int>(online_cores(), static_cast<int>(most_jobs));
}

catalogue_part chosen_part(const options& o)
{
    catalogue_part part;
    if (!o.part.empty()) parse_part(o.part, part);
    return part;
}

bool writes_book(const options& o)
{
    return !o.catalogue.empty() && !o.output.empty() && !o.canonical && o.format == "pdf";
}

bool draws(const options& o)
{
    if (o.canonical) return false;
    if (!o.catalogue.empty()) return !o.directory.empty() || writes_book(o);
    return !o.check || !o.format.empty() || !o.output.empty();
}
