// The gallery beside a catalogue's SVG drawings: index.html sums the run
// up and leads to the entries, in pages of at most 1,000, all of them and
// each verdict on its own. The pages work without JavaScript; with it,
// each drawing loads as it comes near the window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/case_check.h"
#include "files/file_system.h"
#include "squares.h"

// One entry, formed by whichever thread handled its case.
struct gallery_entry {
    std::string html;      // the <figure> element
    bool failed = false;   // unreadable or not drawn
    bool checked = false;  // the verdict below is known
    case_verdict verdict;
};

// A case drawn into `drawing`, or not drawn (`drawing` empty) for `failure`;
// `code` is what its caption shows of it to be copied (the canonical code,
// or the line as given), printable on one line.
gallery_entry case_entry(std::int64_t number, std::int64_t line, const square_case& c,
                         const case_verdict& verdict, const std::string& drawing,
                         const std::string& failure, const std::string& code);

// A line that could not be read; `code` the line as given, `caption` what
// it has after a *.
gallery_entry unreadable_entry(std::int64_t number, std::int64_t line, const std::string& message,
                               const std::string& code, const std::string& caption);

// What a catalogue run came to.
struct catalogue_summary {
    std::int64_t lines = 0;       // read, blank lines and comments too
    std::int64_t cases = 0;       // case lines
    std::int64_t unreadable = 0;  // case lines that could not be read
    std::int64_t drawn = 0;
    std::int64_t not_drawn = 0;
    std::int64_t drawn_in_part = 0;  // drawn only up to a square that cannot be placed
    std::int64_t dissections = 0;
    std::int64_t perfect = 0;
    std::int64_t simple = 0;
    std::int64_t checked = 0;   // cases with a verdict
    std::int64_t left_out = 0;  // by --only

    void add(const catalogue_summary& more);
};

// The pages of one catalogue, written in catalogue order by one thread.
class gallery {
public:
    gallery(file_system& files, std::string directory, std::string title);

    void add(const gallery_entry& entry);

    // Writes the last page of each list, then index.html.
    void finish(const catalogue_summary& summary);

    // Calls `f` with the name of each page written, once finished: each
    // list's pages in order, the lists in the order of their names, then
    // index.html.
    void each_page(const std::function<void(const std::string&)>& f) const;
    // Called with each page's name and path before the page is written:
    // may throw to keep it from being written.
    std::function<void(const std::string& name, const std::string& path)> before_page;

    // Whether `name` is one of the pages a gallery writes.
    static bool is_page_name(const std::string& name);

private:
    struct list {
        const char* name;     // of its pages: name-000001.html
        const char* heading;  // what it holds
        std::int64_t page = 0;
        std::int64_t total = 0;
        std::int64_t on_page = 0;
        std::string entries;  // those of the page not yet written
    };

    void put(list& l, const std::string& html);
    void write_page(list& l, bool more);
    std::string path(const std::string& name) const;

    file_system& files_;
    std::string directory_;
    std::string title_;  // escaped
    std::vector<list> lists_;
};
