#include "catalogue_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "check_table.h"
#include "document/document.h"
#include "document/gallery.h"
#include "driver.h"
#include "analysis/case_check.h"
#include "read_catalogue.h"
#include "shown_text.h"

namespace {

constexpr int failure_status = 1;

std::string zero_padded(std::int64_t number)
{
    std::string digits = std::to_string(number);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    return digits;
}

std::string joined(const std::string& directory, const std::string& name)
{
    if (!directory.empty() && directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

}  // namespace

std::string drawing_name(std::int64_t number, const square_case& c, const char* extension)
{
    return zero_padded(number) + "-" + std::to_string(c.count) + "-" + std::to_string(c.width) +
           "x" + std::to_string(c.height) + extension;
}

int run_catalogue(const options& o, file_system& files, output_stream& out)
{
    // Messages name standard input as grep does.
    const std::string path = o.catalogue == "-" ? "(standard input)" : o.catalogue;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned(nullptr, &std::fclose);
    std::FILE* stream = stdin;
    if (o.catalogue != "-") {
        owned.reset(std::fopen(path.c_str(), "r"));
        if (!owned) {
            throw conversion_error(std::string("cannot open the catalogue: ") +
                                   std::strerror(errno));
        }
        stream = owned.get();
    }
    const bool drawing = !o.directory.empty();
    const picture_format& format = chosen_format(o);
    if (drawing) {
        const std::string error = files.make_directory(o.directory);
        if (!error.empty()) {
            throw conversion_error("cannot create the directory " + shown_path(o.directory) + ": " +
                                   error);
        }
    }
    if (o.check) print_out(out, check_table_header);

    // The gallery page is written as the drawings are, and completed last.
    std::unique_ptr<document> gallery;
    if (drawing && format.shown_in_browser) {
        gallery = std::make_unique<document>(files, joined(o.directory, "index.html"));
        write_gallery_head(*gallery, path);
    }

    int status = 0;
    std::int64_t drawn = 0;
    catalogue_reader reader(stream);
    for (;;) {
        square_case c;
        catalogue_position where;
        try {
            if (!reader.next(c, where)) break;
        } catch (const conversion_error& e) {
            print_message(path, e.line, e.what());
            if (gallery) write_gallery_failure(*gallery, e.line, e.what());
            status = failure_status;
            if (std::ferror(stream)) break;
            continue;
        }
        const case_source from{path, where.number, where.line, true};
        case_verdict verdict;
        if (o.check || gallery) verdict = check_case(c);
        if (o.check) {
            print_verdict(c, verdict, from, out);
            if (!verdict.dissection) status = failure_status;
        }
        if (!drawing) continue;
        gallery_entry entry{where.number, where.line,
                            drawing_name(where.number, c, format.extension), ""};
        if (draw_and_report(c, format, o.settings, joined(o.directory, entry.drawing), files, from,
                            o.check)) {
            ++drawn;
        } else {
            status = failure_status;
            entry.drawing.clear();
            entry.failure = verdict.placed ? "the drawing failed" : verdict.problem;
        }
        if (gallery) write_gallery_entry(*gallery, entry, c, verdict);
    }
    if (gallery) write_gallery_tail(*gallery);
    if (drawing && !o.check) {
        print_out(out, "\n - - - - - Created " + std::to_string(drawn) + " drawings in " +
                           shown_path(o.directory) + " successfully. - - - - - -\n");
    }
    return status;
}
