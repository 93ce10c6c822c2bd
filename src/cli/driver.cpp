#include "cli/driver.h"

#include <cstdio>
#include <exception>
#include <new>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/dissection_net.h"
#include "analysis/subrectangle_form.h"
#include "document/case_report.h"
#include "catalogue/catalogue_run.h"
#include "analysis/check_table.h"
#include "document/document.h"
#include "enumeration/enumerate_options.h"
#include "enumeration/enumerate_run.h"
#include "reading/input_file.h"
#include "messages.h"
#include "cli/options.h"
#include "cli/output_guard.h"
#include "reading/read_case.h"
#include "shown_text.h"

namespace {

constexpr int failure_status = 1;
constexpr int usage_status = 2;

// The warnings on how a case file is written: a file that goes on past
// its case with more codes (at `more_line`), brackets that do not follow
// the rows, and with `count_sides` sides past the count.
std::string writing_warnings(const square_case& c, const case_source& from,
                             std::int64_t more_line, bool count_sides)
{
    std::string messages;
    skyline sky;
    std::vector<square_box> boxes;
    report_writing(c, from, count_sides, sky, boxes, messages);
    if (more_line > 0) {
        messages += format_message(from.file, more_line,
                                   "warning: the case file goes on past its case with more codes, "
                                   "which are not read; read a file of one case per line with "
                                   "--catalogue");
    }
    return messages;
}

// What the run reads: the graphs, the catalogue or the case file.
const std::string& input_path(const options& o)
{
    if (!o.graphs.empty()) return o.graphs;
    return o.catalogue.empty() ? o.case_path : o.catalogue;
}

// The input as messages name it.
std::string shown_input(const options& o)
{
    return input_name(input_path(o));
}

// The one-case run: read, then check, draw or both.
int run_case(const options& o, file_system& files, output_stream& out)
{
    case_source from{shown_input(o)};
    from.quiet = o.quiet;
    square_case c;
    std::int64_t more_line = 0;
    // The table's header comes first whatever follows, and a case that
    // cannot be read still gets its row.
    if (o.check) print_out(out, check_table_header(o.canonical));
    try {
        c = read_case(o.case_path, &from.line, &more_line);
    } catch (const conversion_error& e) {
        if (o.check) print_out(out, unreadable_row(1, e.line, e.what(), o.canonical));
        throw;
    }
    int status = 0;
    std::string messages = writing_warnings(c, from, more_line, o.check);
    if (o.check) {
        check_workspace work;
        const case_verdict verdict = check_case(c, work);
        std::string code;
        if (o.canonical) {
            canonical_scratch scratch;
            code = canonical_column(c, verdict, work.squares, scratch, o.up_to_subrectangles);
        }
        std::string row;
        report_verdict(c, verdict, from, row, messages, o.canonical ? &code : nullptr);
        print_out(out, row);
        if (!verdict.dissection) status = failure_status;
    }
    if (draws(o)) {
        const picture_format& format = chosen_format(o);
        const std::string name = o.output.empty() ? format.default_path : o.output;
        const drawing_outcome drawn =
            draw_and_report(c, format, o.settings, name, files, from, o.check, messages);
        print_messages(messages);
        messages.clear();
        if (drawn != drawing_outcome::complete) return failure_status;
        // With --check, standard output is the table's; a descriptor has the drawing.
        if (!o.check && !o.quiet && descriptor_named(name) < 0) {
            print_out(out,
                      "\n - - - - - Created " + shown_path(name) + " successfully. - - - - - -\n");
        }
    }
    print_messages(messages);
    return status;
}

// The one-case run of --canonical: the code's line, or the message of a
// case that is not a dissection.
int run_canonical_case(const options& o, file_system& files, output_stream& out)
{
    case_source from{o.case_path};
    std::int64_t more_line = 0;
    const square_case c = read_case(o.case_path, &from.line, &more_line);
    const std::int64_t line = from.line;
    print_messages(writing_warnings(c, from, more_line, true));
    canonical_scratch scratch;
    std::string code;
    std::string problem;
    if (!append_code_line(c, o.up_to_subrectangles, scratch, code, problem)) {
        throw conversion_error("not a dissection: " + problem, line);
    }
    if (o.output.empty()) {
        print_out(out, code);
    } else {
        document doc(files, o.output);
        write_text(doc, code);
        close_document(doc);
    }
    return 0;
}

// The one-case run of --net: the case's network, or the message of a case
// that is not a dissection.
int run_net_case(const options& o, file_system& files, output_stream& out)
{
    case_source from{o.case_path};
    std::int64_t more_line = 0;
    const square_case c = read_case(o.case_path, &from.line, &more_line);
    const std::int64_t line = from.line;
    if (!o.quiet) print_messages(writing_warnings(c, from, more_line, true));
    canonical_scratch scratch;
    check_workspace work;
    const bool graph6 = writes_graph6(o);
    std::string net = graph6 ? "" : planar_code_header;
    std::string problem;
    std::string warning;
    if (!append_net(c, graph6, scratch, work, net, problem, warning))
        throw conversion_error(problem, line);
    if (!warning.empty() && !o.quiet) print_message(shown_input(o), line, "warning: " + warning);
    if (o.output.empty()) {
        print_out(out, net);
    } else {
        document doc(files, o.output);
        write_text(doc, net);
        close_document(doc);
    }
    return 0;
}

int run_options(const options& o, output_stream& out)
{
    if (o.help) {
        print_out(out, help_text);
        return 0;
    }
    if (o.version) {
        print_out(out, "squares2tex " SQUARES2TEX_VERSION "\n");
        return 0;
    }
    for (const std::string& ignored : o.ignored) {
        if (o.quiet) break;
        print_message("", 0,
                      "warning: '" + shown_path(ignored) +
                          "' after the case file is ignored; options go before the case file");
    }
    system_file_system files;
    const std::string& path = input_path(o);
    const std::string shown = shown_input(o);
    try {
        const bool from_file = path != "-";
        if (enumerates(o)) {
            if (!o.graphs.empty()) {
                if (!o.output.empty() && from_file)
                    refuse_input_as_output(files, path, o.output, "the graphs");
                refuse_input_as_descriptor(files, path, o.output, o.output.empty(), "the graphs");
            }
            return run_enumeration(o, files, out);
        }
        const char* const input = o.catalogue.empty() ? "the case file" : "the catalogue";
        if (!o.output.empty() && from_file) refuse_input_as_output(files, path, o.output, input);
        // The table and the codes go to standard output unless -o takes the codes.
        refuse_input_as_descriptor(files, path, o.output,
                                   o.check || ((o.canonical || o.net) && o.output.empty()), input);
        if (!o.catalogue.empty()) {
            if (!o.directory.empty() && from_file)
                refuse_catalogue_in_directory(files, o.catalogue, o.directory);
            return run_catalogue(o, files, out);
        }
        if (o.canonical && !o.check) return run_canonical_case(o, files, out);
        if (o.net) return run_net_case(o, files, out);
        return run_case(o, files, out);
    } catch (const usage_error&) {
        throw;
    } catch (const conversion_error& e) {
        print_message(shown, e.line, e.what());
    } catch (const std::bad_alloc&) {
        // An order's codes are held until it ends: parts of it fit.
        print_message(shown, 0,
                      enumerates(o) && o.graphs.empty()
                          ? "out of memory; --part K/N splits the enumeration into parts that fit"
                          : "out of memory");
    } catch (const std::exception& e) {
        print_message(shown, 0, std::string("unexpected failure: ") + e.what());
    }
    return failure_status;
}

}  // namespace

int run(int argc, const char* const* argv)
{
    output_stream out;
    int status = failure_status;
    try {
        status = run_options(parse_options(argc, argv), out);
    } catch (const usage_error& e) {
        print_message("", 0, e.what());
        std::fputs(usage_line, stderr);
        if (e.unknown_option) std::fputs("Try 'squares2tex --help'.\n", stderr);
        return usage_status;
    } catch (const conversion_error& e) {
        // Standard output failed while --help or --version wrote it.
        print_message("", 0, e.what());
        return failure_status;
    }
    return finish_out(out) ? status : failure_status;
}
