// A catalogue cut into batches of whole lines, so that workers can read and
// handle them apart while a writer keeps their order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "options.h"
#include "read_catalogue.h"
#include "squares.h"

// A case line read ahead on the reader's thread: one too long to hold as
// text is read straight from the stream, in bounded memory.
struct read_ahead_case {
    catalogue_position where;
    square_case c;
    std::string error;  // when it could not be read; then `error_line` is its line
    std::int64_t error_line = 0;
};

struct catalogue_batch_text {
    std::int64_t first_line = 1;    // the line `text` begins with
    std::int64_t first_number = 1;  // the number of its first case line
    std::string text;               // whole lines
    std::int64_t lines = 0;         // in `text` or read ahead
    std::int64_t cases = 0;
    bool has_read_ahead = false;  // then `text` is empty and `read_ahead` the one case line
    read_ahead_case read_ahead;
    // Set on the last batch when the catalogue could not be read to its end.
    std::string failure;
};

// Batches of a catalogue stream, read from its start or, for a part, from
// the first line that begins at or after K-1 Nths of the file up to the
// first that begins at or after K Nths. Case and line numbers are always
// those of the whole file.
class catalogue_input {
public:
    // Throws conversion_error when a part is asked of what is not a regular
    // file, or the file cannot be read up to the part.
    catalogue_input(std::FILE* stream, const catalogue_part& part);

    // The next batch: whole lines up to about `bytes` bytes or `cases` case
    // lines. False once the catalogue (or the part) has ended.
    bool next(catalogue_batch_text& batch, std::size_t bytes, std::int64_t cases);

private:
    bool fill();
    void read_long_line(catalogue_batch_text& batch);

    std::FILE* stream_;
    std::string pending_;  // read from the stream, not yet cut from `position_` on
    std::size_t position_ = 0;
    bool ended_ = false;
    std::string failure_;
    std::int64_t offset_ = 0;  // in the file, of pending_[position_]
    std::int64_t end_ = -1;    // where the part ends; -1: the end of the file
    std::int64_t line_ = 1;
    std::int64_t number_ = 0;  // case lines so far
};
