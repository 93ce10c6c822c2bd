#include "cli/driver.h"

#include <cstdio>
#include <exception>
#include <new>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/check_table.h"
#include "analysis/dissection_net.h"
#include "analysis/subrectangle_form.h"
#include "catalogue/catalogue_run.h"
#include "cli/help_text.h"
#include "cli/output_guard.h"
#include "cli/request.h"
#include "document/case_report.h"
#include "document/document.h"
#include "enumeration/enumerate_run.h"
#include "files/system_file_system.h"
#include "messages.h"
#include "reading/input_file.h"
#include "reading/read_case.h"
#include "shown_text.h"

namespace {

constexpr int failure_status = 1;
constexpr int usage_status = 2;

// The warnings on how a case file is written: a file that goes on past
// its case with more codes (at `more_line`), brackets that do not follow
// the rows, and with `count_sides` sides past the count.
std::string writing_warnings(const square_case& c, const case_source& from, std::int64_t more_line,
                             bool count_sides)
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
const std::string& input_path(const request& r)
{
    if (r.kind == run_kind::enumeration || r.kind == run_kind::graphs) return r.enumeration.graphs;
    return r.kind == run_kind::catalogue ? r.catalogue.path : r.one_case.path;
}

// The one-case run: read, then check, draw or both.
int run_case(const case_request& o, file_system& files, output_stream& out)
{
    case_source from{input_name(o.path)};
    from.quiet = o.quiet;
    square_case c;
    std::int64_t more_line = 0;
    // The table's header comes first whatever follows, and a case that
    // cannot be read still gets its row.
    if (o.check) print_out(out, check_table_header(o.canonical));
    try {
        c = read_case(o.path, &from.line, &more_line);
    } catch (const conversion_error& e) {
        if (o.check) print_out(out, unreadable_row(1, e.line, e.what(), o.canonical));
        throw;
    }
    int status = 0;
    std::string messages = writing_warnings(c, from, more_line, o.check);
    // A drawing that outlines sub-rectangles takes the check's list of them.
    const bool outlined = o.format != nullptr && may_outline(c, *o.format);
    case_verdict verdict;
    check_workspace work;
    if (o.check || outlined) verdict = check_case(c, work);
    if (o.check) {
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
    if (o.format != nullptr) {
        const picture_format& format = *o.format;
        const std::string name = o.output.empty() ? format.default_path : o.output;
        const drawing_outcome drawn =
            draw_and_report(c, format, o.drawing, name, files, from, o.check, messages,
                            outlined_subrectangles(verdict));
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

// The text of a one-case run to standard output, or whole to -o FILE.
int write_text_out(const std::string& output, const std::string& text, file_system& files,
                   output_stream& out)
{
    if (output.empty()) {
        print_out(out, text);
    } else {
        document doc(files, output);
        write_text(doc, text);
        close_document(doc);
    }
    return 0;
}

// The one-case run of --canonical: the code's line, or the message of a
// case that is not a dissection.
int run_canonical_case(const case_request& o, file_system& files, output_stream& out)
{
    case_source from{o.path};
    std::int64_t more_line = 0;
    const square_case c = read_case(o.path, &from.line, &more_line);
    const std::int64_t line = from.line;
    print_messages(writing_warnings(c, from, more_line, true));
    canonical_scratch scratch;
    std::string code;
    std::string problem;
    if (!append_code_line(c, o.up_to_subrectangles, scratch, code, problem)) {
        throw conversion_error("not a dissection: " + problem, line);
    }
    return write_text_out(o.output, code, files, out);
}

// The one-case run of --net: the case's network, or the message of a case
// that is not a dissection.
int run_net_case(const case_request& o, file_system& files, output_stream& out)
{
    case_source from{o.path};
    std::int64_t more_line = 0;
    const square_case c = read_case(o.path, &from.line, &more_line);
    const std::int64_t line = from.line;
    if (!o.quiet) print_messages(writing_warnings(c, from, more_line, true));
    canonical_scratch scratch;
    check_workspace work;
    std::string net = o.graph6 ? "" : planar_code_header;
    std::string problem;
    std::string warning;
    if (!append_net(c, o.graph6, scratch, work, net, problem, warning))
        throw conversion_error(problem, line);
    if (!warning.empty() && !o.quiet)
        print_message(input_name(o.path), line, "warning: " + warning);
    return write_text_out(o.output, net, files, out);
}

// The graphs are not to be replaced by the codes, nor be their standard output.
void guard_graphs(file_system& files, const enumeration_request& e)
{
    if (e.graphs.empty()) return;
    if (!e.output.empty() && e.graphs != "-")
        refuse_input_as_output(files, e.graphs, e.output, "the graphs");
    refuse_input_as_descriptor(files, e.graphs, e.output, e.output.empty(), "the graphs");
}

// The case file or the catalogue is not to be replaced by what the run writes.
void guard_input(file_system& files, const std::string& path, const std::string& output, bool check,
                 bool canonical, const char* input)
{
    if (!output.empty() && path != "-") refuse_input_as_output(files, path, output, input);
    // The table and the codes go to standard output unless -o takes the codes.
    refuse_input_as_descriptor(files, path, output, check || (canonical && output.empty()), input);
}

int run_request(const request& r, output_stream& out)
{
    if (r.kind == run_kind::help) {
        print_out(out, help_text);
        return 0;
    }
    if (r.kind == run_kind::version) {
        print_out(out, "squares2tex " SQUARES2TEX_VERSION "\n");
        return 0;
    }
    for (const std::string& ignored : r.ignored) {
        if (r.quiet) break;
        print_message("", 0,
                      "warning: '" + shown_path(ignored) +
                          "' after the case file is ignored; options go before the case file");
    }
    system_file_system files;
    const std::string shown = input_name(input_path(r));
    try {
        if (r.kind == run_kind::enumeration || r.kind == run_kind::graphs) {
            guard_graphs(files, r.enumeration);
            return run_enumeration(r.enumeration, files, out);
        }
        if (r.kind == run_kind::catalogue) {
            const catalogue_request& c = r.catalogue;
            guard_input(files, c.path, c.output, c.check, c.canonical || c.net, "the catalogue");
            if (!c.directory.empty() && c.path != "-")
                refuse_catalogue_in_directory(files, c.path, c.directory);
            return run_catalogue(c, files, out);
        }
        const case_request& c = r.one_case;
        guard_input(files, c.path, c.output, c.check, c.canonical || c.net, "the case file");
        if (r.kind == run_kind::canonical_case) return run_canonical_case(c, files, out);
        if (r.kind == run_kind::net_case) return run_net_case(c, files, out);
        return run_case(c, files, out);
    } catch (const usage_error&) {
        throw;
    } catch (const conversion_error& e) {
        print_message(shown, e.line, e.what());
    } catch (const std::bad_alloc&) {
        // An order's codes are held until it ends: parts of it fit.
        print_message(shown, 0,
                      r.kind == run_kind::enumeration
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
        status = run_request(parse_request(argc, argv), out);
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
