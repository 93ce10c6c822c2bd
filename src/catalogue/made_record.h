// The record a catalogue run keeps in its directory of the files it made
// there, by which a later run clears the drawings and pages it does not
// make again, and nothing else: a name alone does not say who made a file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/made_journal.h"
#include "catalogue/record_reader.h"
#include "document/document.h"
#include "files/file_system.h"

// The record's name in the directory, and its first line.
constexpr const char* record_name = ".squares2tex-made";
constexpr const char* record_heading = "squares2tex: files made in this directory, format 1";

// One run's record. The names come in case order (drawings by case number,
// then the gallery's pages by list and number, then index.html), as the
// previous record has them, so both are read and written as streams. The
// journal of a run that ended before writing its record is folded in.
class made_record {
public:
    // Takes the directory (made if missing) from every other run for as
    // long as the record lives, waiting for a run that holds it, and opens
    // the previous record and journal. Throws when the directory cannot be
    // made or locked, the record or journal cannot be read, or a file of
    // their names is none. `input` names the catalogue ("/dev/stdin" for
    // standard input): it is never removed, nor is standard output.
    made_record(file_system& files, const std::string& directory, const std::string& input);
    ~made_record();
    made_record(const made_record&) = delete;
    made_record& operator=(const made_record&) = delete;

    // Where each name goes before its file takes it.
    made_journal& journal() { return *journal_; }
    // The drawing of case `number`, `written` or tried and not written: the
    // earlier file of that name then stays, and stays recorded.
    void drawing(std::int64_t number, const std::string& name, bool written);
    // A gallery page written, in the order above.
    void page(const std::string& name);
    // Replaces the record; then, for a `complete` run, removes the files the
    // previous record names and this one does not. A run that ended before
    // the end of its catalogue, or found its previous record changed by
    // hand, removes nothing, and everything recorded before stays recorded.
    // Returns what went wrong.
    std::string finish(bool complete);

private:
    void take(const record_entry& e, bool written);
    void put(const std::string& name);
    void keep(const std::string& name);
    std::string remove_stale();

    file_system& files_;
    std::string directory_;
    std::string input_;
    int lock_ = -1;
    bool had_record_ = false;
    bool damaged_ = false;  // names twice or out of order
    std::unique_ptr<made_journal> journal_;
    std::unique_ptr<record_reader> old_;      // followed as the names come
    std::unique_ptr<record_reader> earlier_;  // read again at the end, for what to remove
    // Two records are written at once, for it is known only at the end
    // whether the run reached the end of its catalogue: the one that stays
    // for a run that did leaves out the previous run's names not made
    // again, to be removed; the other keeps them, and is dropped.
    std::unique_ptr<document> new_;
    std::unique_ptr<document> keeping_;  // with a previous record only
};
