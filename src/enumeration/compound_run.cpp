#include "enumeration/compound_run.h"

#include <algorithm>
#include <memory>

#include "analysis/subrectangle_form.h"
#include "catalogue/code_stats.h"
#include "document/document.h"
#include "enumeration/code_lines.h"
#include "enumeration/compound_levels.h"
#include "enumeration/compound_search.h"
#include "enumeration/imperfect_levels.h"

namespace {

// Whether a code's rectangle is a square: its second and third numbers agree.
bool code_is_square(const std::string& code)
{
    const std::size_t first = code.find(' ');
    const std::size_t second = code.find(' ', first + 1);
    const std::size_t third = code.find(' ', second + 1);
    return code.compare(first + 1, second - first - 1, code, second + 1, third - second - 1) == 0;
}

std::vector<std::string> squares_among(const std::vector<std::string>& codes, bool squares)
{
    if (!squares) return codes;
    std::vector<std::string> kept;
    for (const std::string& code : codes) {
        if (code_is_square(code)) kept.push_back(code);
    }
    return kept;
}

// How many classes the codes fall into up to the sub-rectangles' symmetries.
std::size_t classes_of(const std::vector<std::string>& codes, canonical_scratch& scratch)
{
    std::vector<std::string> forms;
    forms.reserve(codes.size());
    for (const std::string& code : codes) {
        const piece p = piece_of_code(code, scratch);
        std::string form;
        append_subrectangle_canonical(p.squares, p.width, p.height, scratch, form);
        forms.push_back(std::move(form));
    }
    std::sort(forms.begin(), forms.end());
    return static_cast<std::size_t>(std::unique(forms.begin(), forms.end()) - forms.begin());
}

struct text_output {
    output_stream& out;
    std::unique_ptr<document> file;

    void add(const std::string& text)
    {
        if (file) {
            write_text(*file, text);
        } else {
            print_out(out, text);
        }
    }
};

// The counts of one order, both ways.
std::string count_row(int order, const order_codes& c, bool squares)
{
    canonical_scratch scratch;
    const std::vector<std::string> simple = squares_among(c.simple, squares);
    const std::vector<std::string> trivial = squares_among(c.trivial, squares);
    const std::vector<std::string> nontrivial = squares_among(c.nontrivial, squares);
    const std::size_t trivial_classes = classes_of(trivial, scratch);
    const std::size_t nontrivial_classes = classes_of(nontrivial, scratch);
    std::string row = std::to_string(order);
    for (const std::size_t n :
         {simple.size(), trivial.size(), nontrivial.size(),
          simple.size() + trivial.size() + nontrivial.size(), trivial_classes, nontrivial_classes,
          simple.size() + trivial_classes + nontrivial_classes}) {
        row += '\t' + std::to_string(n);
    }
    return row + '\n';
}

// One order's codes, as asked: counted, or the parts kept in the
// catalogue's order, as --enumerate writes its own.
void write_order(const enumeration_request& o, int order, const order_codes& codes,
                 text_output& output, code_stats* stats)
{
    if (o.count) {
        output.add(count_row(order, codes, o.squares));
        return;
    }
    std::vector<std::string> lines;
    const auto take = [&](const std::vector<std::string>& part) {
        for (const std::string& code : squares_among(part, o.squares)) lines.push_back(code);
    };
    if (o.all) take(codes.simple);
    if (!o.nontrivial) take(codes.trivial);
    if (!o.trivial) take(codes.nontrivial);
    std::string found;
    for (const std::string& line : lines) found += line + '\n';
    std::string text;
    for (const std::string_view line : sorted_lines({&found})) {
        text += line;
        text += '\n';
    }
    if (stats) {
        stats->feed(text);
    } else {
        output.add(text);
    }
}

}  // namespace

bool enumerates_compound(const enumeration_request& r)
{
    return r.graphs.empty() && (r.compound || r.all);
}

int run_compound_enumeration(const enumeration_request& o, file_system& files, output_stream& out)
{
    const order_range range = o.orders;
    if (o.imperfect && range.high > greatest_imperfect_compound_order) {
        throw conversion_error("--compound --imperfect makes orders up to " +
                               std::to_string(greatest_imperfect_compound_order) +
                               ": each order holds every squared rectangle of the orders below "
                               "in memory");
    }
    // Squares past the levels' orders come from the search by shapes.
    const bool by_shape = o.squares && range.high > greatest_compound_order;
    if (by_shape && range.high > greatest_compound_square_order) {
        throw conversion_error("--compound --squares makes orders up to " +
                               std::to_string(greatest_compound_square_order) +
                               ": past that a square can hold three sub-rectangles side by side "
                               "in a c-net, which the search does not build");
    }
    if (range.high > greatest_compound_order && !by_shape) {
        throw conversion_error("--compound makes orders up to " +
                               std::to_string(greatest_compound_order) +
                               ": each order holds every perfect rectangle of the orders below "
                               "in memory (with --squares, up to " +
                               std::to_string(greatest_compound_square_order) + ")");
    }
    if (o.part.n > 1 && !(by_shape && range.low > greatest_compound_order))
        throw conversion_error(
            "--part shares out only --compound --squares past order 20, as codes: "
            "every other --compound order holds all the orders below it");
    // Order 19 held about 1 GiB at its peak; each order holds some 3.7 times
    // the rectangles of the one before.
    if (range.high == greatest_compound_order && !o.quiet && !by_shape && !o.imperfect) {
        print_message("", 0,
                      "warning: --compound order 20 holds every perfect rectangle of the orders "
                      "below in memory: some 4 GiB, and some minutes of CPU");
    }
    text_output output{out, nullptr};
    if (!o.output.empty()) output.file = std::make_unique<document>(files, o.output);
    if (o.count) {
        output.add(
            "order\tsimple\ttrivially compound\tnontrivially compound\tall\t"
            "trivially compound up to subrectangles\tnontrivially compound up to "
            "subrectangles\tall up to subrectangles\n");
    }
    // --stats counts the codes instead of writing them.
    std::unique_ptr<code_stats> stats;
    if (o.stats) stats = std::make_unique<code_stats>();
    if (by_shape) {
        for (int order = range.low; order <= range.high; ++order) {
            shape_search_settings settings;
            settings.order = order;
            settings.shapes = {{1, 1}};
            settings.jobs = o.jobs;
            settings.with_simple = o.count || o.all;
            settings.part = {o.part.k, o.part.n};
            const order_codes codes = compound_of_shapes(settings);
            if (codes.too_large != 0 && !o.quiet)
                print_message("", 0,
                              "warning: order " + std::to_string(order) + ": " +
                                  std::to_string(codes.too_large) +
                                  " rectangles of the shapes sought have a side past 32 bits "
                                  "and are left out, with what they would make");
            write_order(o, order, codes, output, stats.get());
        }
    } else if (o.imperfect) {
        any_levels levels;
        for (int order = 1; order <= range.high; ++order) {
            const order_codes codes = make_any_order(order, levels, order < range.high, o.jobs);
            if (order >= range.low) write_order(o, order, codes, output, stats.get());
        }
    } else {
        perfect_levels levels;
        for (int order = 1; order <= range.high; ++order) {
            const order_codes codes = make_order(order, levels, order < range.high, o.jobs);
            if (order >= range.low) write_order(o, order, codes, output, stats.get());
        }
    }
    if (stats) output.add(stats->result(o.stats_svg));
    if (output.file) close_document(*output.file);
    return 0;
}
