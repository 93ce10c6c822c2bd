// The journal beside a directory's record: each name a catalogue run is
// about to give a file, appended before the file takes it, so that a run
// that never writes its record (a signal, SIGKILL, a full disk) loses none.
// The next run into the directory folds the names into its record.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "catalogue/record_reader.h"
#include "files/file_system.h"

constexpr const char* journal_name = ".squares2tex-made.journal";
constexpr const char* journal_heading = "squares2tex: files being made in this directory, format 1";

class made_journal {
public:
    // Opens the journal of `directory` to append to, made if missing, with
    // its first line unless `headed` (journal_names read it). Throws when it
    // cannot be opened.
    made_journal(file_system& files, const std::string& directory, bool headed);
    ~made_journal();
    made_journal(const made_journal&) = delete;
    made_journal& operator=(const made_journal&) = delete;

    // Adds `name`, at once, from any thread: what went wrong, or "". A name
    // not added must not be given to a file.
    std::string note(const std::string& name);
    // Once a record lists every name it holds.
    void remove();

private:
    file_system& files_;
    std::string path_;
    int handle_ = -1;
    std::mutex mutex_;
};

// The names the journal of `directory` holds, in order (none without one),
// and whether it has its first line. Throws when it cannot be read, or a
// file of its name is no journal.
std::vector<record_entry> journal_names(file_system& files, const std::string& directory,
                                        bool& headed);
