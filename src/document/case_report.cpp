#include "document/case_report.h"

#include "analysis/check_table.h"
#include "analysis/code_rows.h"
#include "analysis/structure.h"
#include "analysis/subrectangle_form.h"
#include "messages.h"
#include "placement/place_squares.h"

std::int64_t message_line(const case_source& from)
{
    return from.in_catalogue ? from.line : 0;
}

void report_writing(const square_case& c, const case_source& from, bool count_sides, skyline& sky,
                    std::vector<square_box>& boxes, std::string& messages, bool placed)
{
    if (count_sides && c.sides_given > c.count) {
        messages += format_message(from.file, from.line,
                                   "warning: " + std::to_string(c.count) + " sides expected, " +
                                       std::to_string(c.sides_given) + " given; those past side " +
                                       std::to_string(c.count) + " are not read");
    }
    if (c.brackets.empty()) return;
    if (!placed) {
        std::string problem, failure;
        place_boxes(c, sky, boxes, problem, failure);
        if (!failure.empty()) return;
    }
    const std::string wrong = misgrouped_brackets(c, boxes);
    if (!wrong.empty()) messages += format_message(from.file, from.line, "warning: " + wrong);
}

std::string canonical_column(const square_case& c, const case_verdict& verdict,
                             const std::vector<square_box>& placed, canonical_scratch& scratch,
                             bool up_to_subrectangles)
{
    std::string code;
    if (!verdict.dissection) return code;
    if (up_to_subrectangles) {
        append_subrectangle_canonical(placed, c.width, c.height, scratch, code);
    } else {
        append_canonical(placed, c.width, c.height, std::string(), scratch, code);
    }
    code.pop_back();
    return code;
}

void report_verdict(const square_case& c, const case_verdict& verdict, const case_source& from,
                    std::string& out, std::string& messages, const std::string* canonical)
{
    out += check_table_row(from.number, from.line, c, verdict, canonical);
    if (!verdict.placed) messages += format_message(from.file, message_line(from), verdict.failure);
}

drawing_outcome draw_and_report(const square_case& c, const picture_format& format,
                                const picture_settings& settings, const std::string& name,
                                file_system& files, const case_source& from, bool checked,
                                std::string& messages, const std::vector<sub_rectangle>& outlines)
{
    tiling_report report(c.height);
    const auto add_warnings = [&] {
        if (checked || from.quiet) return;
        for (const std::string& w : report.warnings) {
            messages += format_message(from.file, message_line(from), "warning: " + w);
        }
    };
    std::unique_ptr<picture_writer> picture;
    const auto add_caveats = [&] {
        if (from.quiet) return;
        for (const std::string& caveat : picture->caveats())
            messages += format_message(from.file, message_line(from), "warning: " + caveat);
    };
    try {
        picture = format.open(files, name, settings);
        draw_case(c, *picture, report, format.draws_failure, outlines);
    } catch (const conversion_error& e) {
        // A catalogue run stops at a failed write: the next drawings would
        // fail the same way, each a message.
        if (from.in_catalogue && dynamic_cast<const write_error*>(&e) != nullptr) throw;
        // The warnings gathered so far often point at the cause.
        add_warnings();
        const auto* unplaced = dynamic_cast<const placement_error*>(&e);
        // A drawing up to the failure is complete once the failure is thrown.
        const bool drawn = unplaced != nullptr && format.draws_failure;
        if (drawn) add_caveats();
        if (!(checked && unplaced != nullptr)) {
            messages +=
                format_message(from.file, e.line > 0 ? e.line : message_line(from), e.what());
        }
        return drawn ? drawing_outcome::up_to_failure : drawing_outcome::not_drawn;
    }
    add_warnings();
    add_caveats();
    return drawing_outcome::complete;
}

const std::vector<sub_rectangle>& outlined_subrectangles(const case_verdict& verdict)
{
    static const std::vector<sub_rectangle> none;
    return verdict.dissection && !verdict.simple ? verdict.subrectangles : none;
}

bool may_outline(const square_case& c, const picture_format& format)
{
    return format.outlines && c.sides.size() <= most_listed_squares;
}

void draw_case(const square_case& c, picture_writer& picture, tiling_report& report,
               bool to_failure, const std::vector<sub_rectangle>& outlines)
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
    if (!outlines.empty()) picture.subrectangles(outlines);
    picture.frame_head(c);
    try {
        place_squares(c, squares);
    } catch (const placement_error& e) {
        if (!to_failure) throw;
        if (e.drawable) picture.square(e.where, true);
        picture.frame_tail();
        throw;
    }
    picture.frame_tail();
}

std::vector<std::string> write_document(const square_case& c, file_system& files)
{
    tiling_report report(c.height);
    const auto picture = default_format().open(files, default_format().default_path, {});
    draw_case(c, *picture, report);
    return report.warnings;
}
