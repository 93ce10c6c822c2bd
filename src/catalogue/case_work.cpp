#include "catalogue/case_work.h"

#include "analysis/canonical.h"
#include "case_report.h"
#include "catalogue/made_names.h"
#include "check_table.h"
#include "messages.h"

namespace {

void handle_unreadable(const catalogue_settings& settings, catalogue_batch& batch,
                       std::int64_t number, std::int64_t line, const std::string& message)
{
    batch.messages += format_message(settings.path, line, message);
    if (settings.check) batch.out += unreadable_row(number, line, message);
    if (settings.gallery) batch.entries.push_back(unreadable_entry(number, line, message));
    ++batch.summary.unreadable;
    batch.failed = true;
}

void handle_case(const catalogue_settings& settings, file_system& files, catalogue_batch& batch,
                 worker_memory& memory, const square_case& c, const catalogue_position& where)
{
    if (settings.canonical) {
        std::string problem;
        if (!append_canonical_line(c, memory.canonical, batch.out, problem)) {
            batch.messages +=
                format_message(settings.path, where.line, "not a dissection: " + problem);
            batch.failed = true;
        }
        return;
    }
    const case_source from{settings.path, where.number, where.line, true};
    catalogue_summary& summary = batch.summary;
    case_verdict verdict;
    if (settings.check || settings.gallery) {
        verdict = check_case(c, memory.check);
        ++summary.checked;
        summary.dissections += verdict.dissection;
        summary.perfect += verdict.dissection && verdict.perfect;
        summary.simple += verdict.dissection && verdict.simple;
    }
    if (settings.check) {
        report_verdict(c, verdict, from, batch.out, batch.messages);
        if (!verdict.dissection) batch.failed = true;
    }
    if (settings.format == nullptr) return;
    std::string name = drawing_name(where.number, c, settings.format->extension);
    if (draw_and_report(c, *settings.format, settings.drawing, joined(settings.directory, name),
                        files, from, settings.check, batch.messages)) {
        ++summary.drawn;
    } else {
        ++summary.not_drawn;
        batch.failed = true;
        name.clear();
    }
    if (settings.gallery) {
        batch.entries.push_back(case_entry(where.number, where.line, c, verdict, name,
                                           verdict.placed ? "the drawing failed" : verdict.failure));
    }
}

}  // namespace

void work_on_batch(const catalogue_settings& settings, file_system& files, catalogue_batch& batch,
                   worker_memory& memory)
{
    const catalogue_batch_text& input = batch.input;
    batch.summary.lines = input.lines;
    batch.summary.cases = input.cases;
    read_batch(
        input,
        [&](const square_case& c, const catalogue_position& where) {
            handle_case(settings, files, batch, memory, c, where);
        },
        [&](const catalogue_position& where, std::int64_t line, const std::string& message) {
            handle_unreadable(settings, batch, where.number, line, message);
        });
    if (!input.failure.empty()) {
        batch.messages += format_message(settings.path, 0, input.failure);
        batch.failed = true;
    }
}
