#include "cli/options.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "document/picture_writer.h"

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
    {"compound", '\0', nullptr, &options::compound},
    {"trivial", '\0', nullptr, &options::trivial},
    {"nontrivial", '\0', nullptr, &options::nontrivial},
    {"all", '\0', nullptr, &options::all},
    {"up-to-subrectangles", '\0', nullptr, &options::up_to_subrectangles},
    {"only", '\0', &options::only, nullptr},
    {"check", '\0', nullptr, &options::check},
    {"canonical", '\0', nullptr, &options::canonical},
    {"net", '\0', nullptr, &options::net},
    {"stats", '\0', nullptr, &options::stats},
    {"with-net", '\0', nullptr, &options::with_net},
    {"with-smith", '\0', nullptr, &options::with_smith},
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
    return o;
}

const picture_format& chosen_format(const options& o)
{
    return o.format.empty() ? default_format() : *find_format(o.format);
}

bool enumerates(const options& o)
{
    return !o.enumerate.empty() || !o.graphs.empty();
}

bool writes_book(const options& o)
{
    return !o.catalogue.empty() && !o.output.empty() && !o.canonical && !o.net && o.format == "pdf";
}

const char* const net_formats[2] = {"planar_code", "graph6"};

bool writes_graph6(const options& o)
{
    return o.net && o.format == net_formats[1];
}

bool draws(const options& o)
{
    if (o.canonical || o.net || o.stats) return false;
    if (!o.catalogue.empty()) return !o.directory.empty() || writes_book(o);
    return !o.check || !o.format.empty() || !o.output.empty();
}
