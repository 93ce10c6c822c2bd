#include "options.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "document/picture_writer.h"

const char* const usage_line =
    "usage: squares2tex [OPTION]... CASE-FILE   or   squares2tex [OPTION]... --catalogue FILE\n";

const char* const help_text =
    "Draws a list of squares placed one by one, each at the highest, left-most free\n"
    "spot of a rectangle filled from its top edge down.\n"
    "\n"
    "  squares2tex [OPTION]... CASE-FILE          one case: writes squares.tex\n"
    "  squares2tex [OPTION]... --catalogue FILE   many cases, one per line\n"
    "\n"
    "Options (before the case file; arguments after it are ignored):\n"
    "  -f, --format FORMAT    tex (PSTricks document, the default), svg, or tikz\n"
    "                         (a standalone TikZ document for pdflatex)\n"
    "  -o, --output FILE      write FILE instead of squares.tex, squares.svg or\n"
    "                         squares-tikz.tex; '-' writes to standard output;\n"
    "                         a name ending in .svg implies --format svg\n"
    "      --check            print a table: is each case a dissection, perfect,\n"
    "                         simple; draws nothing unless -f or -o asks for it\n"
    "      --catalogue FILE   read many cases, one per line ('-': standard input)\n"
    "  -d, --directory DIR    with --catalogue: one drawing per case in DIR,\n"
    "                         with an index.html gallery for svg\n"
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
    {"check", '\0', nullptr, &options::check},
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

// A long option by its name or an unambiguous beginning of it.
const option_rule& find_long(const std::string& given)
{
    const option_rule* found = nullptr;
    for (const option_rule& rule : rules) {
        if (given == rule.name) return rule;
        if (std::strncmp(rule.name, given.c_str(), given.size()) == 0) {
            if (found != nullptr) throw usage_error("option '--" + given + "' is ambiguous");
            found = &rule;
        }
    }
    if (found == nullptr) throw usage_error("unknown option '--" + given + "'");
    return *found;
}

const option_rule& find_short(char c)
{
    for (const option_rule& rule : rules) {
        if (rule.short_name == c) return rule;
    }
    throw usage_error(std::string("unknown option '-") + c + "'");
}

bool ends_with_svg(const std::string& path)
{
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".svg";
}

// Options that each make sense but not together.
void check_combination(options& o)
{
    if (o.help || o.version) return;
    const bool catalogue = !o.catalogue.empty();
    if (!o.has_case && !catalogue) throw usage_error("no case file given");
    if (o.has_case && catalogue) {
        throw usage_error("give a case file or --catalogue FILE, not both");
    }
    if (catalogue && !o.output.empty()) {
        throw usage_error(
            "--output names one drawing; a catalogue's drawings go to --directory DIR");
    }
    if (!catalogue && !o.directory.empty()) {
        throw usage_error(
            "--directory is for a catalogue's drawings; name one drawing with --output");
    }
    if (catalogue && !o.format.empty() && o.directory.empty()) {
        throw usage_error("--format draws a catalogue only into --directory DIR");
    }
    if (catalogue && !o.check && o.directory.empty()) {
        throw usage_error("--catalogue needs --check, --directory DIR or both");
    }
    if (o.check && o.output == "-") {
        throw usage_error(
            "--check prints its table on standard output; the drawing cannot go there too");
    }
    if (o.format.empty() && ends_with_svg(o.output)) o.format = "svg";
    if (!o.format.empty() && find_format(o.format) == nullptr) {
        throw usage_error("unknown format '" + o.format + "': choose " + format_names());
    }
}

}  // namespace

options parse_options(int argc, const char* const* argv)
{
    options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            if (i + 1 < argc) {
                o.case_path = argv[i + 1];
                o.has_case = true;
            }
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            o.case_path = arg;
            o.has_case = true;
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

bool draws(const options& o)
{
    if (!o.catalogue.empty()) return !o.directory.empty();
    return !o.check || !o.format.empty() || !o.output.empty();
}
