#include "catalogue/made_journal.h"

#include <cerrno>
#include <cstring>

#include "catalogue/made_names.h"
#include "messages.h"
#include "shown_text.h"

namespace {

std::string not_a_journal(const std::string& path)
{
    return shown_path(path) +
           " is not a journal of squares2tex: rename it, or draw into another directory";
}

}  // namespace

made_journal::made_journal(file_system& files, const std::string& directory, bool headed)
    : files_(files), path_(joined(directory, journal_name))
{
    std::string error = files.open(path_, file_system::opening::append, handle_);
    // After the heading, or after a line a full disk cut short: the empty
    // line this makes is passed over.
    const std::string start = headed ? std::string("\n") : std::string(journal_heading) + "\n";
    if (error.empty()) error = files.write(handle_, start.data(), start.size());
    if (!error.empty()) throw conversion_error("cannot write " + shown_path(path_) + ": " + error);
}

made_journal::~made_journal()
{
    if (handle_ >= 0) files_.close(handle_);
}

std::string made_journal::note(const std::string& name)
{
    // One write a name: a run killed at any point leaves whole lines.
    const std::string text = name + "\n";
    const std::lock_guard<std::mutex> one_at_a_time(mutex_);
    return files_.write(handle_, text.data(), text.size());
}

void made_journal::remove()
{
    if (handle_ >= 0) files_.close(handle_);
    handle_ = -1;
    files_.remove(path_);
}

std::vector<record_entry> journal_names(file_system& files, const std::string& directory,
                                        bool& headed)
{
    headed = false;
    const std::string path = joined(directory, journal_name);
    std::vector<record_entry> names;
    int handle = -1;
    const std::string error = files.open(path, file_system::opening::read, handle);
    if (error == std::strerror(ENOENT)) return names;
    if (!error.empty()) throw conversion_error("cannot read " + shown_path(path) + ": " + error);
    record_reader journal(files, handle);
    std::string text;
    // An empty file is a journal whose heading a full disk kept out.
    if (journal.line(text)) {
        if (text != journal_heading) throw conversion_error(not_a_journal(path));
        headed = true;
    }
    record_entry e;
    while (journal.line(text)) {
        if (e.parse(text)) names.push_back(e);
    }
    if (!journal.failure.empty())
        throw conversion_error("cannot read " + shown_path(path) + ": " + journal.failure);
    put_in_order(names);
    return names;
}
