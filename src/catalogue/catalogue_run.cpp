#include "catalogue/catalogue_run.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "analysis/check_table.h"
#include "analysis/dissection_net.h"
#include "catalogue/case_work.h"
#include "catalogue/catalogue_input.h"
#include "catalogue/in_order.h"
#include "catalogue/made_names.h"
#include "catalogue/progress.h"
#include "document/document.h"
#include "document/gallery.h"
#include "document/pdf_book.h"
#include "files/made_record.h"
#include "messages.h"
#include "reading/input_file.h"
#include "shown_text.h"

namespace {

constexpr int failure_status = 1;

// A batch is cut at this many bytes or cases: enough to keep a thread busy
// for a while, few enough that the threads end together. A case drawn
// costs far more than one checked.
constexpr std::size_t batch_bytes = 256 * 1024;
constexpr std::int64_t batch_cases_checked = 4096;
constexpr std::int64_t batch_cases_drawn = 64;

// How much may be between the reader and the writer at once.
constexpr std::size_t most_bytes_in_flight = 64 << 20;

// The closing line: what was made, how many cases were not drawn and how
// many --only left out.
// A run whose status is 1 for some other reason (its record) is no success either.
std::string closing_line(const catalogue_summary& s, const std::string& made, bool failed = false)
{
    const std::int64_t missing = s.not_drawn + s.unreadable;
    const std::string left_out =
        s.left_out > 0 ? "; " + count_of(s.left_out, "case", "cases") + " left out by --only"
                       : std::string();
    if (missing == 0 && s.drawn_in_part == 0 && !failed) {
        return "\n - - - - - Created " + made + " successfully" + left_out + ". - - - - - -\n";
    }
    // A drawing that stops at a square that cannot be placed is no success.
    std::string faults;
    if (s.drawn_in_part > 0) {
        faults += "; " + count_of(s.drawn_in_part, "case", "cases") +
                  " drawn only up to a square that cannot be placed";
    }
    if (missing > 0) {
        faults += "; " + count_of(missing, "case could not be drawn", "cases could not be drawn");
    }
    return "\n - - - - - Created " + made + faults + " (see the messages above)" + left_out +
           ". - - - - - -\n";
}

}  // namespace

int run_catalogue(const catalogue_request& r, file_system& files, output_stream& out)
{
    catalogue_settings settings;
    // Messages name standard input as grep does.
    settings.path = input_name(r.path);
    settings.check = r.check;
    settings.canonical = r.canonical;
    settings.up_to_subrectangles = r.up_to_subrectangles;
    settings.net = r.net;
    settings.stats = r.stats;
    settings.graph6 = r.graph6;
    settings.quiet = r.quiet;
    std::mutex large_case_gate;
    settings.large_case_gate = &large_case_gate;
    settings.only = r.only;
    settings.with_smith = r.with_smith;
    settings.sizes = r.sizes;
    const input_file catalogue = open_input(r.path, "r", "the catalogue");
    std::FILE* const stream = catalogue.stream;
    if (r.check && r.part.k == 1) print_out(out, check_table_header(r.canonical));
    catalogue_input input(stream, r.part);

    // The record of what was made, and the directory's lock, for as long as the run.
    std::unique_ptr<made_record> record;
    if (!r.directory.empty()) {
        settings.directory = r.directory;
        settings.format = r.format;
        settings.drawing = r.drawing;
        // The directory may be shared: a link planted there is replaced, not followed.
        settings.drawing.how = links::replace;
        settings.gallery = settings.format->shown_in_browser;
        settings.guard_input = r.path == "-";
        file_system::file_id standard_output{};
        settings.guard_output = files.regular_file_id(1, "", standard_output);
        if (settings.guard_output) {
            for (const char* name : {record_name, journal_name})
                refuse_standard_output(files, joined(r.directory, name));
        }
        record = std::make_unique<made_record>(
            files, r.directory, settings.guard_input ? "/dev/stdin" : r.path, made_name_kinds());
        settings.journal = &record->journal();
    }
    // A book is one output file, links followed as for any -o.
    std::unique_ptr<pdf_book> book;
    if (r.book) {
        settings.book = true;
        settings.format = r.format;
        settings.drawing = r.drawing;
        book = std::make_unique<pdf_book>(files, r.output, settings.path);
    }
    // The codes go to -o FILE as any output file is written, whole or not at all.
    std::unique_ptr<document> codes;
    if ((r.canonical || r.net) && !r.check && !r.output.empty())
        codes = std::make_unique<document>(files, r.output);
    if (r.net && !settings.graph6) {
        if (codes) {
            write_text(*codes, planar_code_header);
        } else {
            print_out(out, planar_code_header);
        }
    }
    std::unique_ptr<gallery> pages;
    if (settings.gallery) {
        pages = std::make_unique<gallery>(files, r.directory, settings.path);
        pages->before_page = [&](const std::string& name, const std::string& path) {
            if (settings.guard_output) refuse_standard_output(files, path);
            const std::string error = record->journal().note(name);
            if (!error.empty()) {
                throw conversion_error("cannot create " + shown_path(path) +
                                       ": recording its name failed: " + error);
            }
        };
    }

    catalogue_summary summary;
    catalogue_stats stats;
    int status = 0;
    bool ended_early = false;
    progress shown(input.size());
    in_order_steps<catalogue_batch> steps;
    const std::int64_t cases_per_batch =
        settings.format != nullptr ? batch_cases_drawn : batch_cases_checked;
    steps.read = [&](catalogue_batch& b) {
        b = catalogue_batch{};
        return input.next(b.input, batch_bytes, cases_per_batch);
    };
    std::vector<worker_memory> memories(static_cast<std::size_t>(std::max(1, r.jobs)));
    steps.work = [&](catalogue_batch& b, int worker) {
        work_on_batch(settings, files, b, memories[static_cast<std::size_t>(worker)]);
    };
    steps.write = [&](catalogue_batch& b) {
        if (codes) {
            write_text(*codes, b.out);
        } else {
            print_out(out, b.out);
        }
        if (!b.messages.empty()) {
            shown.clear();
            print_messages(b.messages);
        }
        if (pages) {
            for (const gallery_entry& e : b.entries) pages->add(e);
        }
        if (book) {
            for (const book_page& p : b.pages) book->add(p);
        }
        if (record) {
            for (const made_drawing& m : b.made) record->drawing(m.number, m.name, m.written);
        }
        // The catalogue could not be read to its end.
        ended_early = ended_early || !b.input.failure.empty();
        summary.add(b.summary);
        add_stats(stats, b.stats);
        if (b.failed) status = failure_status;
        shown.update(summary.cases, b.input.done_bytes);
    };
    // A line read ahead holds its sides, not its text.
    steps.size = [](const catalogue_batch& b) {
        return b.input.text.size() + b.input.read_ahead.c.sides.capacity() * sizeof(std::int32_t);
    };
    // Room for several batches a thread, so that workers go on while the
    // writer is busy with a gallery page; the bytes bound the memory.
    run_in_order(r.jobs, static_cast<std::size_t>(8 * r.jobs + 2), most_bytes_in_flight, steps);
    shown.clear();

    if (codes) close_document(*codes);
    if (r.stats && r.stats_svg && !r.output.empty()) {
        document histogram(files, r.output);
        write_text(histogram, stats_histogram(stats));
        close_document(histogram);
    } else if (r.stats) {
        print_out(out, r.stats_svg ? stats_histogram(stats) : stats_table(stats));
    }
    if (book) {
        book->close();
        if (!r.check && !r.quiet && descriptor_named(r.output) < 0) {
            print_out(out, closing_line(summary, shown_path(r.output) + " with " +
                                                     count_of(summary.drawn, "page", "pages")));
        }
    }
    if (pages) pages->finish(summary);
    if (record) {
        if (pages) pages->each_page([&](const std::string& name) { record->page(name); });
        // Files of the previous run that this one did not make again.
        const std::string error = record->finish(!ended_early);
        if (!error.empty()) {
            print_message(r.directory, 0, "cannot clear the drawings of earlier runs: " + error);
            status = failure_status;
        }
        if (!r.check && !r.quiet) {
            print_out(out, closing_line(summary,
                                        count_of(summary.drawn, "drawing", "drawings") + " in " +
                                            shown_path(r.directory),
                                        status != 0));
        }
    }
    return status;
}
