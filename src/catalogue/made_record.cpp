#include "catalogue/made_record.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "catalogue/made_names.h"
#include "messages.h"
#include "shown_text.h"
#include "squares.h"

namespace {

// Opens the record at `path` past its heading line: false when there is none.
bool open_record(file_system& files, const std::string& path,
                 std::unique_ptr<record_reader>& opened)
{
    int handle = -1;
    const std::string error = files.open(path, file_system::opening::read, handle);
    if (error == std::strerror(ENOENT)) return false;
    if (!error.empty()) throw conversion_error("cannot read " + shown_path(path) + ": " + error);
    opened = std::make_unique<record_reader>(files, handle);
    std::string heading;
    if (opened->line(heading) && heading == record_heading) return true;
    throw conversion_error(shown_path(path) + " is not a record of squares2tex" +
                           (opened->failure.empty() ? ": rename it, or draw into another directory"
                                                    : ": " + opened->failure));
}

// Reads the whole record once: whether its names are in case order, each
// once, as a run writes them; and if not, every name it lists, into `all`.
bool in_order(file_system& files, const std::string& path, std::vector<record_entry>& all)
{
    for (int pass = 0; pass < 2; ++pass) {
        std::unique_ptr<record_reader> scan;
        open_record(files, path, scan);
        std::string text;
        record_entry e, last;
        bool ordered = true;
        for (bool first = true; scan->line(text);) {
            if (!e.parse(text)) continue;
            ordered = ordered && (first || last < e);
            first = false;
            if (pass == 1) all.push_back(e);
            last = std::move(e);
        }
        if (!scan->failure.empty())
            throw conversion_error("cannot read " + shown_path(path) + ": " + scan->failure);
        if (ordered) return true;
    }
    return false;
}

}  // namespace

made_record::made_record(file_system& files, const std::string& directory, const std::string& input)
    : files_(files), directory_(directory), input_(input)
{
    std::string error = files.open(directory, file_system::opening::directory_now, lock_);
    if (error == file_system::busy) {
        print_message(directory, 0, "waiting for the other run into this directory to end");
        error = files.open(directory, file_system::opening::directory, lock_);
    }
    if (!error.empty()) {
        throw conversion_error("cannot create or lock the directory " + shown_path(directory) +
                               ": " + error);
    }
    const std::string path = joined(directory, record_name);
    bool headed = false;
    std::vector<record_entry> journaled = journal_names(files, directory, headed);
    std::unique_ptr<record_reader> scan;
    had_record_ = open_record(files, path, scan);
    scan.reset();
    std::vector<record_entry> listed;
    if (had_record_ && !in_order(files, path, listed)) {
        // Changed by hand: which names are stale cannot be trusted, so none
        // is, and every name stays recorded, now in order.
        damaged_ = true;
        print_message(directory, 0,
                      "warning: " + shown_path(path) +
                          " lists a name twice or out of order: no file is removed this time, "
                          "and every name it lists stays recorded");
        listed.insert(listed.end(), journaled.begin(), journaled.end());
        put_in_order(listed);
        old_ = std::make_unique<record_reader>(files, -1);
        old_->extra = std::move(listed);
    } else if (had_record_ || !journaled.empty()) {
        // The names of a run that never wrote its record count as recorded.
        if (!had_record_ || !open_record(files, path, old_))
            old_ = std::make_unique<record_reader>(files, -1);
        if (!had_record_ || !open_record(files, path, earlier_))
            earlier_ = std::make_unique<record_reader>(files, -1);
        old_->extra = journaled;
        earlier_->extra = std::move(journaled);
    }
    if (old_) old_->advance();
    journal_ = std::make_unique<made_journal>(files, directory, headed);
    new_ = std::make_unique<document>(files, path, links::replace);
    write_line(*new_, record_heading);
    if (old_) {
        keeping_ = std::make_unique<document>(files, path, links::replace);
        write_line(*keeping_, record_heading);
    }
}

made_record::~made_record()
{
    old_.reset();
    earlier_.reset();
    new_.reset();
    keeping_.reset();
    journal_.reset();
    if (lock_ >= 0) files_.close(lock_);
}

void made_record::put(const std::string& name)
{
    write_line(*new_, name);
    if (keeping_) write_line(*keeping_, name);
}

void made_record::keep(const std::string& name)
{
    if (keeping_) write_line(*keeping_, name);
}

void made_record::take(const record_entry& e, bool written)
{
    bool listed = false;
    if (old_) {
        // Names recorded before this one and not made again: kept if the
        // run ends early, else left out, to be removed.
        while (old_->valid && old_->current < e) {
            keep(old_->current.name);
            old_->advance();
        }
        listed = old_->valid && old_->current == e;
        if (listed) old_->advance();
    }
    if (written || listed) put(e.name);
}

void made_record::drawing(std::int64_t number, const std::string& name, bool written)
{
    record_entry e;
    e.parse(name);
    e.group = 0;
    e.number = number;
    take(e, written);
}

void made_record::page(const std::string& name)
{
    record_entry e;
    if (e.parse(name)) take(e, true);
}

std::string made_record::finish(bool complete)
{
    // A run that removes nothing keeps every name recorded before.
    const bool removing = complete && !damaged_;
    if (old_ && !removing) {
        for (; old_->valid; old_->advance()) keep(old_->current.name);
    }
    // The record that stays; the other is dropped unnamed.
    std::unique_ptr<document> record = std::move(removing || !keeping_ ? new_ : keeping_);
    new_.reset();
    keeping_.reset();
#ifdef _WIN32
    // Windows replaces no file open for reading: the previous record is
    // moved aside, still open, and removed once read.
    const std::string aside = joined(directory_, record_name) + ".old";
    old_.reset();
    if (had_record_) {
        const std::string error = files_.replace(joined(directory_, record_name), aside);
        if (!error.empty()) return "cannot move the record aside: " + error;
    }
#endif
    std::string error;
    try {
        close_document(*record);
        if (removing && earlier_) error = remove_stale();
        // Every name journaled is recorded now, or was removed with its file.
        if (error.empty()) journal_->remove();
    } catch (const conversion_error& e) {
        error = e.what();
    }
#ifdef _WIN32
    if (had_record_) {
        earlier_.reset();
        files_.remove(aside);
    }
#endif
    return error;
}

// Both lists in case order: a name of the previous record is passed by the
// new one's names before it, and matched or not.
std::string made_record::remove_stale()
{
    const std::string path = joined(directory_, record_name);
    std::unique_ptr<record_reader> now;
    try {
        if (!open_record(files_, path, now)) return std::strerror(ENOENT);
    } catch (const conversion_error& e) {
        return e.what();
    }
    now->advance();
    for (earlier_->advance(); earlier_->valid; earlier_->advance()) {
        const record_entry& e = earlier_->current;
        while (now->valid && now->current < e) now->advance();
        // A new record not read to its end would pass for one without these.
        if (!now->failure.empty()) return "cannot read " + shown_path(path) + ": " + now->failure;
        if (now->valid && now->current == e) continue;
        const std::string stale = joined(directory_, e.name);
        // Standard output is the user's file, whatever its name.
        if (!files_.same_file(stale, input_) && !files_.same_file(stale, "/dev/stdout"))
            files_.remove(stale);
    }
    return earlier_->failure.empty() ? std::string()
                                     : "cannot read " + shown_path(path) + ": " + earlier_->failure;
}
