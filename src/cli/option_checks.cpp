#include "cli/option_checks.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "cli/option_values.h"
#include "document/picture_writer.h"
#include "shown_text.h"

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

// --compound, --trivial, --nontrivial, --all and --up-to-subrectangles where
// they do not go.
void check_compound_options(const options& o)
{
    if (o.up_to_subrectangles && !o.canonical)
        throw usage_error("--up-to-subrectangles goes with --canonical");
    if ((o.trivial || o.nontrivial) && !o.compound)
        throw usage_error("--trivial and --nontrivial choose a part of --compound");
    if (o.trivial && o.nontrivial)
        throw usage_error("give --trivial or --nontrivial, not both: --compound alone gives both");
    if (o.all && o.compound)
        throw usage_error(
            "--all gives the simple and the compound rectangles; --compound the "
            "compound ones: give one of them");
    if (!o.compound && !o.all) return;
    if (o.enumerate.empty()) throw usage_error("--compound and --all go with --enumerate N");
    if (!o.part.empty() && (!o.compound || !o.squares || o.count))
        throw usage_error(
            "--part shares out only --compound --squares past order 20, as codes: "
            "every other --compound order holds all the orders below it");
    if ((o.trivial || o.nontrivial) && o.count)
        throw usage_error(
            "--count counts every part of --compound: leave out --trivial and "
            "--nontrivial");
}

// An enumeration run's options that do not go together, and --imperfect,
// --squares or --count without one; sets the orders.
void check_enumeration(options& o)
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
    if (o.check || o.canonical || !o.directory.empty() || (!o.format.empty() && !o.stats) ||
        !o.size.empty()) {
        throw usage_error(run +
                          " writes a catalogue of canonical codes (or counts with --count); "
                          "check or draw it with a second run, as squares2tex --check "
                          "--catalogue FILE");
    }
    if (!o.enumerate.empty() && !parse_orders(o.enumerate, o.orders)) {
        throw usage_error("--enumerate takes an order N or a range of orders A-B, from " +
                          std::to_string(least_order) + " to " + std::to_string(greatest_order) +
                          ", not '" + o.enumerate + "'");
    }
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

// --stats: a table of a whole catalogue or enumeration, or with -f svg its
// histogram, to -o FILE if given; -o NAME.svg alone asks for the histogram.
void check_stats(options& o, bool enumeration)
{
    if ((o.catalogue.empty() && !enumeration) || o.check || o.canonical || o.net ||
        !o.directory.empty() || !o.part.empty() || o.count || o.with_net || !o.size.empty()) {
        throw usage_error(
            "--stats prints a table of a whole catalogue, --catalogue FILE, or of an "
            "enumeration; it goes with none of --check, --canonical, --net, -d, --part, "
            "--count, --with-net or --size");
    }
    if (o.format.empty() && has_extension(o.output, ".svg")) o.format = "svg";
    if (!o.format.empty() && o.format != "svg")
        throw usage_error("--stats draws -f svg, its histogram of sizes, or prints its table");
    if (!o.output.empty() && o.format.empty())
        throw usage_error("--stats prints its table on standard output; -o FILE takes -f svg");
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
    if (o.stats) check_stats(o, enumeration);
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
        // The Smith diagram named as a PDF is drawn as one.
        if (o.format == "smith" && has_extension(o.output, ".pdf")) o.format = "smith-pdf";
    }
    const bool book = writes_book(o);
    if (catalogue && !o.output.empty() && !o.canonical && !o.net && !o.stats && !book) {
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
    if (catalogue && !o.net && !o.stats && !o.format.empty() && o.directory.empty() && !book) {
        throw usage_error(
            "--format draws a catalogue only into --directory DIR, or as pdf "
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
    if (o.with_smith && (o.canonical || o.net || o.stats || !catalogue ||
                         !(book || (!o.directory.empty() && o.format == "svg")))) {
        throw usage_error(
            "--with-smith draws the Smith diagram beside each case of a gallery, --catalogue "
            "FILE -f svg -d DIR, or of a book, --catalogue FILE -f pdf -o BOOK.pdf");
    }
    if (!o.jobs.empty() && !parse_number(o.jobs, 1, most_jobs, o.job_number)) {
        throw usage_error("--jobs takes a number of threads from 1 to " +
                          std::to_string(most_jobs) + ", not '" + o.jobs + "'");
    }
    if (!o.part.empty()) {
        if (!parse_part(o.part, o.part_value)) {
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
        if (!catalogue)
            throw usage_error("--only chooses among a catalogue's cases: --catalogue FILE");
    }
    if (!o.net && !o.format.empty() && find_format(o.format) == nullptr) {
        throw usage_error("unknown format '" + format_given + "': choose " + format_names());
    }
    if (!o.size.empty()) {
        o.settings.size_mm = size_in_mm(o.size);
        if (!chosen_format(o).sized) {
            throw usage_error("--size needs a drawing of its own size, " + format_names(true) +
                              ": the tex document's picture is 150 mm "
                              "wide on an A4 page");
        }
    }
    if (!o.canonical && !o.net && (!enumeration || o.stats)) refuse_other_extension(o);
}
