// Reading a record of made files: its names in case order, as a stream,
// with the names of an interrupted run's journal merged in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/file_system.h"

// A recorded name and where it comes in case order: drawings (group 0) by
// case number, then pages (1) by list and number, then index.html (2).
// Numbers are compared as numbers: past 999,999 cases they have 7 digits.
struct record_entry {
    int group = 0;
    std::string list;
    std::int64_t number = 0;
    std::string name;

    bool operator<(const record_entry& other) const;
    bool operator==(const record_entry& other) const { return name == other.name; }
    // Only a name a run makes, in the directory itself, is taken from a record.
    bool parse(const std::string& text);
};

// Names in case order, each once: sorts them.
void put_in_order(std::vector<record_entry>& names);

// Reads a record's names in order, merged with `extra` names (in order,
// each once) that the record may or may not list. Stops for good at the
// end, at a read that fails, or at a name out of order or twice (a record
// changed by hand): `failure` then says so. A `handle` of -1 reads only
// the extra names.
class record_reader {
public:
    record_reader(file_system& files, int handle) : files_(files), handle_(handle) {}
    ~record_reader()
    {
        if (handle_ >= 0) files_.close(handle_);
    }
    record_reader(const record_reader&) = delete;
    record_reader& operator=(const record_reader&) = delete;

    // The next line, false at the end or at a read that fails.
    bool line(std::string& text);
    // Moves to the next name: `valid` and `current` tell it.
    void advance();

    bool valid = false;
    record_entry current;
    std::string failure;  // a read that failed, or names out of order
    std::vector<record_entry> extra;

private:
    // The record's own next name, into `streamed_`.
    void advance_stream();

    file_system& files_;
    int handle_;
    std::unique_ptr<char[]> buffer_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool started_ = false;
    bool stopped_ = false;
    bool stream_valid_ = false;
    bool primed_ = false;
    record_entry streamed_;
    std::size_t next_extra_ = 0;
};
