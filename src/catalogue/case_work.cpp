#include "catalogue/case_work.h"

#include "analysis/canonical.h"
#include "analysis/check_table.h"
#include "analysis/dissection_net.h"
#include "analysis/subrectangle_form.h"
#include "catalogue/made_names.h"
#include "document/case_report.h"
#include "messages.h"
#include "shown_text.h"

namespace {

// A book's caption line shows this much of a code; a page is as wide as its caption.
constexpr std::size_t book_code_limit = 120;

// A line as given is shown up to this many bytes: a gallery page holds a
// thousand entries.
constexpr std::size_t given_line_limit = 10000;

// The line as given, printable on one line.
std::string given_line(const catalogue_position& where)
{
    if (where.text.size() <= given_line_limit) return shown_path(std::string(where.text));
    return shown_path(std::string(where.text.substr(0, given_line_limit))) + "...";
}

// What an unreadable line has after its first *, as its caption would be.
std::string given_caption(const catalogue_position& where)
{
    const std::size_t star = where.text.find('*');
    if (star == std::string_view::npos) return {};
    std::string_view caption = where.text.substr(star + 1);
    while (!caption.empty() && (caption.front() == ' ' || caption.front() == '\t'))
        caption.remove_prefix(1);
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == '\t' ||
                                caption.back() == '\r' || caption.back() == '\n'))
        caption.remove_suffix(1);
    return caption.size() <= given_line_limit ? shown_path(std::string(caption)) : std::string();
}

void handle_unreadable(const catalogue_settings& settings, catalogue_batch& batch,
                       const catalogue_position& where, std::int64_t line,
                       const std::string& message)
{
    const std::int64_t number = where.number;
    if ((settings.only != 0 && settings.only != kind_unreadable) || !settings.sizes.empty()) {
        ++batch.summary.left_out;
        return;
    }
    batch.messages += format_message(settings.path, line, message);
    const std::string caption = given_caption(where);
    if (settings.check)
        batch.out += unreadable_row(number, line, message, settings.canonical, caption);
    if (settings.gallery)
        batch.entries.push_back(
            unreadable_entry(number, line, message, given_line(where), caption));
    ++batch.summary.unreadable;
    batch.failed = true;
}

// The case as a page of the book, with its caption line and bookmark; a
// case that cannot be placed is drawn up to its failure, with its message.
void add_page(const catalogue_settings& settings, catalogue_batch& batch, const square_case& c,
              const case_verdict& verdict, const case_source& from, const std::string& code)
{
    const std::string number = std::to_string(from.number);
    const std::string size = std::to_string(c.width) + " x " + std::to_string(c.height);
    std::string caption = "case " + number + ", line " + std::to_string(from.line) + ": order " +
                          std::to_string(c.count) + ", " + size + ", " + verdict_words(verdict);
    const std::vector<sub_rectangle>& outlined = outlined_subrectangles(verdict);
    if (!outlined.empty()) caption += ", " + outlined_words(outlined.size());
    if (code.size() > book_code_limit) {
        // Cut where a character begins.
        std::size_t cut = book_code_limit;
        while (cut > 0 && (static_cast<unsigned char>(code[cut]) & 0xc0) == 0x80) --cut;
        caption += ": " + code.substr(0, cut) + "...";
    } else if (!code.empty()) {
        caption += ": " + code;
    }
    if (!c.caption.empty()) caption += " * " + c.caption;
    try {
        batch.pages.push_back(make_book_page(c, caption, "case " + number + ": " + size,
                                             settings.drawing, outlined, settings.with_smith));
    } catch (const conversion_error& e) {
        // The check's row has told it already.
        if (!settings.check) batch.messages += format_message(from.file, from.line, e.what());
        ++batch.summary.not_drawn;
        batch.failed = true;
        return;
    }
    const book_page& page = batch.pages.back();
    if (!settings.check) {
        for (const std::string& w : page.warnings) {
            if (settings.quiet) break;
            batch.messages += format_message(from.file, from.line, "warning: " + w);
        }
        // The check's row has told it already.
        if (!page.failure.empty())
            batch.messages += format_message(from.file, from.line, page.failure);
    }
    if (!page.failure.empty()) {
        batch.failed = true;
        ++batch.summary.drawn_in_part;
    }
    ++batch.summary.drawn;
}

// The kinds a case is of, as --only names them.
unsigned kinds_of(const case_verdict& v, const square_case& c)
{
    const unsigned shape = c.width == c.height ? kind_square : kind_oblong;
    if (!v.dissection) return kind_not_dissection | shape;
    return shape | kind_dissection | (v.perfect ? kind_perfect : kind_imperfect) |
           (v.simple ? kind_simple : kind_compound) |
           (v.trivially_compound ? kind_trivially_compound : 0u);
}

void handle_case(const catalogue_settings& settings, file_system& files, catalogue_batch& batch,
                 worker_memory& memory, const square_case& c, const catalogue_position& where);

// One large case at a time, whatever the threads; its memory is given back
// after it.
void handle_any_case(const catalogue_settings& settings, file_system& files, catalogue_batch& batch,
                     worker_memory& memory, const square_case& c, const catalogue_position& where)
{
    if (c.sides.size() < large_case || settings.large_case_gate == nullptr)
        return handle_case(settings, files, batch, memory, c, where);
    const std::lock_guard<std::mutex> one_at_a_time(*settings.large_case_gate);
    try {
        handle_case(settings, files, batch, memory, c, where);
    } catch (...) {
        memory = worker_memory{};
        throw;
    }
    memory = worker_memory{};
}

void handle_case(const catalogue_settings& settings, file_system& files, catalogue_batch& batch,
                 worker_memory& memory, const square_case& c, const catalogue_position& where)
{
    case_verdict verdict;
    // A drawing that outlines sub-rectangles needs the check's list of them.
    const bool judged = settings.check || settings.gallery || settings.book || settings.stats ||
                        settings.only != 0 ||
                        (settings.format != nullptr && may_outline(c, *settings.format));
    if (judged) verdict = check_case(c, memory.check);
    // A case left out leaves nothing but its count: no row, code, message or page.
    if ((kinds_of(verdict, c) & settings.only) != settings.only || !within(c, settings.sizes)) {
        ++batch.summary.left_out;
        return;
    }
    if (c.sides_given > c.count || !c.brackets.empty()) {
        // The check's placement serves when there is one.
        report_writing(c, {settings.path, where.number, where.line, true}, true, memory.check.sky,
                       judged ? memory.check.squares : memory.rows, batch.messages, judged);
    }
    if (settings.canonical && !settings.check) {
        std::string problem;
        if (!append_code_line(c, settings.up_to_subrectangles, memory.canonical, batch.out,
                              problem)) {
            batch.messages +=
                format_message(settings.path, where.line, "not a dissection: " + problem);
            batch.failed = true;
        }
        return;
    }
    if (settings.stats) {
        if (verdict.dissection) {
            add_dissection(batch.stats, c, verdict, memory.check.squares);
        } else {
            batch.messages +=
                format_message(settings.path, where.line, "not a dissection: " + verdict.problem);
            batch.failed = true;
        }
        return;
    }
    if (settings.net) {
        std::string problem;
        std::string warning;
        if (!append_net(c, settings.graph6, memory.canonical, memory.check, batch.out, problem,
                        warning)) {
            batch.messages += format_message(settings.path, where.line, problem);
            batch.failed = true;
        } else if (!warning.empty() && !settings.quiet) {
            batch.messages += format_message(settings.path, where.line, "warning: " + warning);
        }
        return;
    }
    const case_source from{settings.path, where.number, where.line, true, settings.quiet};
    catalogue_summary& summary = batch.summary;
    if (settings.check || settings.gallery || settings.book) {
        ++summary.checked;
        summary.dissections += verdict.dissection;
        summary.perfect += verdict.dissection && verdict.perfect;
        summary.simple += verdict.dissection && verdict.simple;
    }
    if (settings.check) {
        std::string code;
        if (settings.canonical) {
            code = canonical_column(c, verdict, memory.check.squares, memory.canonical,
                                    settings.up_to_subrectangles);
        }
        report_verdict(c, verdict, from, batch.out, batch.messages,
                       settings.canonical ? &code : nullptr);
        if (!verdict.dissection) batch.failed = true;
    }
    // The code shown with the drawing: the canonical one, or the line as given.
    std::string code;
    if (settings.gallery || settings.book) {
        code = verdict.dissection
                   ? canonical_column(c, verdict, memory.check.squares, memory.canonical)
                   : given_line(where);
    }
    if (settings.book) return add_page(settings, batch, c, verdict, from, code);
    if (settings.format == nullptr) return;
    static const std::vector<sub_rectangle> none;
    const std::vector<sub_rectangle>& outlined =
        settings.format->outlines ? outlined_subrectangles(verdict) : none;
    std::string name = drawing_name(where.number, c, settings.format->extension);
    drawing_outcome drawn = drawing_outcome::not_drawn;
    const drawing_directory directory{settings.directory, settings.guard_input,
                                      settings.guard_output, settings.journal};
    if (may_draw(directory, files, from, name, batch.messages)) {
        drawn =
            draw_and_report(c, *settings.format, settings.drawing, joined(settings.directory, name),
                            files, from, settings.check, batch.messages, outlined);
    }
    // The diagram's name sorts before the drawing's: the record takes a case's names in order.
    std::string smith;
    if (settings.with_smith && verdict.placed && drawn != drawing_outcome::not_drawn)
        smith = draw_smith(directory, settings.drawing, files, c, from, batch.messages,
                           batch.failed, batch.made);
    batch.made.push_back({where.number, name, drawn != drawing_outcome::not_drawn});
    if (drawn == drawing_outcome::not_drawn) {
        ++summary.not_drawn;
        name.clear();
    } else {
        ++summary.drawn;
    }
    if (drawn == drawing_outcome::up_to_failure) ++summary.drawn_in_part;
    if (drawn != drawing_outcome::complete) batch.failed = true;
    if (settings.gallery) {
        batch.entries.push_back(case_entry(where.number, where.line, c, verdict, name,
                                           verdict.placed ? "the drawing failed" : verdict.failure,
                                           code, outlined.size(), smith));
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
            handle_any_case(settings, files, batch, memory, c, where);
        },
        [&](const catalogue_position& where, std::int64_t line, const std::string& message) {
            handle_unreadable(settings, batch, where, line, message);
        });
    if (!input.failure.empty()) {
        batch.messages += format_message(settings.path, 0, input.failure);
        batch.failed = true;
    }
}
