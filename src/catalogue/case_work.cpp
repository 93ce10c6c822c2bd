#include "catalogue/case_work.h"

#include "analysis/canonical.h"
#include "case_report.h"
#include "catalogue/made_names.h"
#include "check_table.h"
#include "messages.h"
#include "shown_text.h"

namespace {

void handle_unreadable(const catalogue_settings& settings, catalogue_batch& batch,
                       std::int64_t number, std::int64_t line, const std::string& message)
{
    batch.messages += format_message(settings.path, line, message);
    if (settings.check) batch.out += unreadable_row(number, line, message, settings.canonical);
    if (settings.gallery) batch.entries.push_back(unreadable_entry(number, line, message));
    ++batch.summary.unreadable;
    batch.failed = true;
}

// The case as a page of the book, with its caption line and bookmark; a
// case that cannot be placed gets its message and no page.
void add_page(const catalogue_settings& settings, catalogue_batch& batch, const square_case& c,
              const case_verdict& verdict, const case_source& from)
{
    const std::string number = std::to_string(from.number);
    const std::string size = std::to_string(c.width) + " x " + std::to_string(c.height);
    std::string caption = "case " + number + ", line " + std::to_string(from.line) + ": order " +
                          std::to_string(c.count) + ", " + size + ", " + verdict_words(verdict);
    if (!c.caption.empty()) caption += " * " + c.caption;
    try {
        batch.pages.push_back(
            make_book_page(c, caption, "case " + number + ": " + size, settings.drawing));
    } catch (const conversion_error& e) {
        // The check's row has told it already.
        if (!settings.check) batch.messages += format_message(from.file, from.line, e.what());
        ++batch.summary.not_drawn;
        batch.failed = true;
        return;
    }
    if (!settings.check) {
        for (const std::string& w : batch.pages.back().warnings)
            batch.messages += format_message(from.file, from.line, "warning: " + w);
    }
    ++batch.summary.drawn;
}

void handle_case(const catalogue_settings& settings, file_system& files, catalogue_batch& batch,
                 worker_memory& memory, const square_case& c, const catalogue_position& where)
{
    if (c.sides_given > c.count || !c.brackets.empty()) {
        report_writing(c, {settings.path, where.number, where.line, true}, true, memory.check.sky,
                       memory.check.squares, batch.messages);
    }
    if (settings.canonical && !settings.check) {
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
    if (settings.check || settings.gallery || settings.book) {
        verdict = check_case(c, memory.check);
        ++summary.checked;
        summary.dissections += verdict.dissection;
        summary.perfect += verdict.dissection && verdict.perfect;
        summary.simple += verdict.dissection && verdict.simple;
    }
    if (settings.check) {
        std::string code;
        if (settings.canonical) {
            code = canonical_column(c, verdict, memory.check.squares, memory.canonical);
        }
        report_verdict(c, verdict, from, batch.out, batch.messages,
                       settings.canonical ? &code : nullptr);
        if (!verdict.dissection) batch.failed = true;
    }
    if (settings.book) return add_page(settings, batch, c, verdict, from);
    if (settings.format == nullptr) return;
    std::string name = drawing_name(where.number, c, settings.format->extension);
    const std::string path = joined(settings.directory, name);
    bool drawn = false;
    if (settings.guard_input && files.same_file(path, "/dev/stdin")) {
        batch.messages += format_message(from.file, from.line,
                                         "cannot replace " + shown_path(path) +
                                             ": it is the catalogue being read");
    } else {
        drawn = draw_and_report(c, *settings.format, settings.drawing, path, files, from,
                                settings.check, batch.messages);
    }
    batch.made.push_back({where.number, name, drawn});
    if (drawn) {
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
        batch.ended_early = true;
    }
}
