#include "catalogue/made_record.h"

#include <cerrno>
#include <cstring>
#include <tuple>

#include "catalogue/made_names.h"
#include "document/gallery.h"
#include "messages.h"
#include "shown_text.h"
#include "squares.h"

namespace {

constexpr std::size_t block = 1 << 16;
constexpr std::size_t longest_name_line = 4096;  // no made name comes near
constexpr std::size_t most_digits = 18;     // in an int64_t

}  // namespace

// A recorded name and where it comes in case order: drawings (group 0) by
// case number, then pages (1) by list and number, then index.html (2).
// Numbers are compared as numbers: past 999,999 cases they have 7 digits.
struct made_record::entry {
    int group = 0;
    std::string list;
    std::int64_t number = 0;
    std::string name;

    bool operator<(const entry& other) const
    {
        return std::tie(group, list, number, name) <
               std::tie(other.group, other.list, other.number, other.name);
    }
    bool operator==(const entry& other) const { return name == other.name; }

    // Only a name a run makes, in the directory itself, is taken from a record.
    bool parse(const std::string& text)
    {
        name = text;
        list.clear();
        if (text.find('/') != std::string::npos || text.find('\\') != std::string::npos ||
            !is_made_name(text)) {
            return false;
        }
        std::string digits;
        if (text == "index.html") {
            group = 2;
        } else if (gallery::is_page_name(text)) {
            group = 1;
            const std::size_t dash = text.rfind('-');
            list = text.substr(0, dash);
            digits = text.substr(dash + 1, text.size() - dash - 6);
        } else {
            group = 0;
            digits = text.substr(0, text.find('-'));
        }
        if (digits.size() > most_digits) return false;
        number = 0;
        for (const char d : digits) number = number * 10 + (d - '0');
        return true;
    }
};

// Reads a record's names in order. Stops for good at the end, at a read
// that fails, or at a name out of order (a record changed by hand): what
// follows is then neither kept nor removed.
class made_record::reader {
public:
    reader(file_system& files, int handle) : files_(files), handle_(handle), buffer_(new char[block])
    {
    }
    ~reader() { files_.close(handle_); }
    reader(const reader&) = delete;
    reader& operator=(const reader&) = delete;

    bool line(std::string& text)
    {
        text.clear();
        bool any = false;
        for (;;) {
            if (at_ == end_) {
                if (ended_) return any;
                const std::string error = files_.read(handle_, buffer_.get(), block, end_);
                at_ = 0;
                if (!error.empty()) failure = error;
                if (!error.empty() || end_ == 0) {
                    end_ = 0;
                    ended_ = true;
                    return any && failure.empty();
                }
            }
            any = true;
            const char c = buffer_[at_++];
            if (c == '\n') break;
            if (text.size() <= longest_name_line) text += c;
        }
        if (!text.empty() && text.back() == '\r') text.pop_back();
        return true;
    }

    // Moves to the next name: `valid` and `current` tell it.
    void advance()
    {
        valid = false;
        if (stopped_) return;
        entry next;
        std::string text;
        while (line(text)) {
            if (text.size() > longest_name_line || !next.parse(text)) continue;
            if (started_ && !(current < next)) break;
            current = std::move(next);
            started_ = valid = true;
            return;
        }
        stopped_ = true;
        if (!failure.empty() || ended_) return;
        failure = "the names are not in case order";
    }

    bool valid = false;
    entry current;
    std::string failure;  // a read that failed, or names out of order

private:
    file_system& files_;
    int handle_;
    std::unique_ptr<char[]> buffer_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool started_ = false;
    bool stopped_ = false;
};

namespace {

// Opens the record at `path` past its heading line: false when there is none.
bool open_record(file_system& files, const std::string& path,
                 std::unique_ptr<made_record::reader>& opened)
{
    int handle = -1;
    const std::string error = files.open(path, file_system::opening::read, handle);
    if (error == std::strerror(ENOENT)) return false;
    if (!error.empty()) throw conversion_error("cannot read " + shown_path(path) + ": " + error);
    opened = std::make_unique<made_record::reader>(files, handle);
    std::string heading;
    if (opened->line(heading) && heading == record_heading) return true;
    throw conversion_error(
        shown_path(path) + " is not a record of squares2tex" +
        (opened->failure.empty() ? ": rename it, or draw into another directory"
                                 : ": " + opened->failure));
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
    if (open_record(files, path, old_)) {
        open_record(files, path, earlier_);
        old_->advance();
    }
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

void made_record::take(const entry& e, bool written)
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
    entry e;
    e.parse(name);
    e.group = 0;
    e.number = number;
    take(e, written);
}

void made_record::page(const std::string& name)
{
    entry e;
    if (e.parse(name)) take(e, true);
}

std::string made_record::finish(bool complete)
{
    if (old_ && !complete) {
        for (; old_->valid; old_->advance()) keep(old_->current.name);
    }
    // The record that stays; the other is dropped unnamed.
    std::unique_ptr<document> record = std::move(complete || !keeping_ ? new_ : keeping_);
    new_.reset();
    keeping_.reset();
#ifdef _WIN32
    // Windows replaces no file open for reading: the previous record is
    // moved aside, still open, and removed once read.
    const std::string aside = joined(directory_, record_name) + ".old";
    old_.reset();
    if (earlier_) {
        const std::string error = files_.replace(joined(directory_, record_name), aside);
        if (!error.empty()) return "cannot move the record aside: " + error;
    }
#endif
    std::string error;
    try {
        close_document(*record);
        if (complete && earlier_) error = remove_stale();
    } catch (const conversion_error& e) {
        error = e.what();
    }
#ifdef _WIN32
    if (earlier_) {
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
    std::unique_ptr<reader> now;
    try {
        if (!open_record(files_, path, now)) return std::strerror(ENOENT);
    } catch (const conversion_error& e) {
        return e.what();
    }
    now->advance();
    for (earlier_->advance(); earlier_->valid; earlier_->advance()) {
        const entry& e = earlier_->current;
        while (now->valid && now->current < e) now->advance();
        // A new record not read to its end would pass for one without these.
        if (!now->failure.empty()) return "cannot read " + shown_path(path) + ": " + now->failure;
        if (now->valid && now->current == e) continue;
        const std::string stale = joined(directory_, e.name);
        if (!files_.same_file(stale, input_)) files_.remove(stale);
    }
    return earlier_->failure.empty() ? std::string()
                                     : "cannot read " + shown_path(path) + ": " + earlier_->failure;
}
