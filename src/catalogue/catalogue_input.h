// A catalogue cut into batches of whole lines, so that workers can read and
// handle them apart while a writer keeps their order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "reading/read_catalogue.h"
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
    std::int64_t done_bytes = 0;  // of the file (or the part) read up to the batch's end
};

// Batches of a catalogue stream, read from its start or, for a part, from
// the first line that begins at or after K-1 Nths of the file up to the
// first that begins at or after K Nths. Case and line numbers are always
// those of the whole file.
class catalogue_input {
public:
    // Throws conversion_error when a part is asked of what is not a regular
    // file, or the file cannot be read up to the part. Lines longer than
    // `long_line` bytes are read ahead.
    catalogue_input(std::FILE* stream, const catalogue_part& part,
                    std::size_t long_line = 4 << 20);

    // The next batch: whole lines up to about `bytes` bytes or `cases` case
    // lines. False once the catalogue (or the part) has ended.
    bool next(catalogue_batch_text& batch, std::size_t bytes, std::int64_t cases);

    // The bytes to read: of the part, or of the whole file; -1 when the
    // catalogue is not a regular file.
    std::int64_t size() const { return size_; }

private:
    bool cut(catalogue_batch_text& batch, std::size_t bytes, std::int64_t cases);
    bool fill();
    void read_long_line(catalogue_batch_text& batch);

    std::string_view pending() const { return {buffer_.get() + position_, filled_ - position_}; }

    std::FILE* stream_;
    std::size_t long_line_;
    // Read from the stream; cut up to `position_`, not yet from there to `filled_`.
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t filled_ = 0;
    std::size_t position_ = 0;
    bool ended_ = false;
    std::string failure_;
    std::int64_t offset_ = 0;  // in the file, of pending_[position_]
    std::int64_t end_ = -1;    // where the part ends; -1: the end of the file
    std::int64_t start_ = 0;   // where the part begins
    std::int64_t size_ = -1;
    std::int64_t line_ = 1;
    std::int64_t number_ = 0;  // case lines so far
};

// Reads the batch's case lines in order: `on_case(c, where)` for each case
// read, `on_unreadable(where, line, message)` for each line that cannot be.
template <typename OnCase, typename OnUnreadable>
void read_batch(const catalogue_batch_text& batch, OnCase on_case, OnUnreadable on_unreadable)
{
    if (batch.has_read_ahead) {
        const read_ahead_case& r = batch.read_ahead;
        if (r.error.empty()) {
            on_case(r.c, r.where);
        } else {
            on_unreadable(r.where, r.error_line, r.error);
        }
        return;
    }
    catalogue_reader reader(batch.text, batch.first_line, batch.first_number);
    square_case c;
    for (;;) {
        catalogue_position where;
        try {
            if (!reader.next(c, where)) return;
        } catch (const conversion_error& e) {
            on_unreadable(where, e.line, std::string(e.what()));
            continue;
        }
        on_case(c, where);
    }
}
