#include "driver.h"

#include <cstdio>
#include <exception>
#include <new>

#include "catalogue_run.h"
#include "check_table.h"
#include "messages.h"
#include "options.h"
#include "analysis/case_check.h"
#include "placement/place_squares.h"
#include "read_case.h"
#include "shown_text.h"

namespace {

constexpr int failure_status = 1;
constexpr int usage_status = 2;

std::int64_t message_line(const case_source& from)
{
    return from.in_catalogue ? from.line : 0;
}

// The one-case run: read, then check, draw or both.
int run_case(const options& o, file_system& files, output_stream& out)
{
    case_source from{o.case_path};
    const square_case c = read_case(o.case_path, &from.line);
    int status = 0;
    if (o.check) {
        print_out(out, check_table_header);
        const case_verdict verdict = check_case(c);
        print_verdict(c, verdict, from, out);
        if (!verdict.dissection) status = failure_status;
    }
    if (!draws(o)) return status;
    const picture_format& format = chosen_format(o);
    const std::string name = o.output.empty() ? format.default_path : o.output;
    if (!draw_and_report(c, format, o.settings, name, files, from, o.check)) return failure_status;
    // With --check, standard output is the table's.
    if (!o.check && name != "-") {
        print_out(out, "\n - - - - - Created " + shown_path(name) + " successfully. - - - - - -\n");
    }
    return status;
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
    system_file_system files;
    const std::string& path = o.catalogue.empty() ? o.case_path : o.catalogue;
    try {
        if (!o.catalogue.empty()) return run_catalogue(o, files, out);
        return run_case(o, files, out);
    } catch (const conversion_error& e) {
        print_message(path, e.line, e.what());
    } catch (const std::bad_alloc&) {
        print_message(path, 0, "out of memory");
    } catch (const std::exception& e) {
        print_message(path, 0, std::string("unexpected failure: ") + e.what());
    }
    return failure_status;
}

}  // namespace

void print_verdict(const square_case& c, const case_verdict& verdict, const case_source& from,
                   output_stream& out)
{
    print_out(out, check_table_row(from.number, from.line, c, verdict));
    if (!verdict.placed) print_message(from.file, message_line(from), verdict.problem);
}

bool draw_and_report(const square_case& c, const picture_format& format,
                     const picture_settings& settings, const std::string& name,
                     file_system& files, const case_source& from, bool checked)
{
    tiling_report report(c.height);
    const auto print_warnings = [&] {
        if (checked) return;
        for (const std::string& w : report.warnings) {
            print_message(from.file, message_line(from), "warning: " + w);
        }
    };
    std::string caveat;
    try {
        const auto picture = format.open(files, name, settings);
        draw_case(c, *picture, report);
        caveat = picture->caveat();
    } catch (const conversion_error& e) {
        // The warnings gathered so far often point at the cause.
        print_warnings();
        const bool told = checked && dynamic_cast<const placement_error*>(&e) != nullptr;
        if (!told) print_message(from.file, e.line > 0 ? e.line : message_line(from), e.what());
        return false;
    }
    print_warnings();
    if (!caveat.empty()) print_message(from.file, message_line(from), "warning: " + caveat);
    return true;
}

void draw_case(const square_case& c, picture_writer& picture, tiling_report& report)
{
    struct reader : placement_reader {
        reader(picture_writer& p, tiling_report& r) : picture(p), report(r) {}
        picture_writer& picture;
        tiling_report& report;
        void take(const placed_square& s) override
        {
            picture.square(s.where, note_square(report, s));
        }
        void finish(const skyline& sky) override { note_end(report, sky); }
    } squares(picture, report);
    picture.frame_head(c);
    place_squares(c, squares);
    picture.frame_tail();
}

std::vector<std::string> write_document(const square_case& c, file_system& files)
{
    tiling_report report(c.height);
    const auto picture = default_format().open(files, default_format().default_path, {});
    draw_case(c, *picture, report);
    return report.warnings;
}

int run(int argc, const char* const* argv)
{
    output_stream out;
    int status = failure_status;
    try {
        status = run_options(parse_options(argc, argv), out);
    } catch (const usage_error& e) {
        print_message("", 0, e.what());
        std::fputs(usage_line, stderr);
        return usage_status;
    }
    return finish_out(out) ? status : failure_status;
}
