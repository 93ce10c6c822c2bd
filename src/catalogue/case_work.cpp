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

// The case as a page of the book, with its caption line and bookmark; a
// case that cannot be placed is drawn up to its failure, with its message.
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
    const book_page& page = batch.pages.back();
    if (!settings.check) {
        for (const std::string& w : page.warnings)
            batch.messages += format_message(from.file, from.line, "warning: " + w);
        // The check's row has told it already.
        if (!page.failure.empty())
            batch.messages += format_message(from.file, from.line, page.failure);
    }
    if (!page.failure.empty()) batch.failed = true;
    ++batch.summary.drawn;
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
    if (settings.check || settings.gallery || settings.book) {
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
    if (settings.book) return add_page(settings, batch, c, verdict, from);
    if (settings.format == nullptr) return;
    std::string name = drawing_name(where.number, c, settings.format->extension);
    const drawing_outcome drawn =
        draw_and_report(c, *settings.format, settings.drawing, joined(settings.directory, name),
                        files, from, settings.check, batch.messages);
    if (drawn == drawing_outcome::not_drawn) {
        ++summary.not_drawn;
        name.clear();
    } else {
        ++summary.drawn;
    }
    if (drawn != drawing_outcome::complete) batch.failed = true;
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
