// Reading whole-number values from a stream, block by block, for case files
// and catalogues.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "squares.h"

// How far one run of values may reach: the whole file (a case file), or one
// line (a catalogue, one case per line).
enum class value_span { file, line };

// Hands out the values of a stream one by one. A value is a whole word: an
// optional sign and decimal digits, ended by a separator (white space or one
// of ( ) [ ] ,) or by the end of the file. A UTF-8 byte-order mark at the very
// start of the stream is skipped. Lines are counted for the messages.
class value_reader {
public:
    // `source` names the stream in the message for a failed read, such as
    // "the case file".
    value_reader(std::FILE* stream, value_span span, std::string source);

    // Reads `text` first, starting at line `first_line`, then the stream
    // `rest` unless it is null: a catalogue line held in memory, or the
    // start of one too long to hold followed by the rest of its file. No
    // byte-order mark is looked for; `text` must outlive the reader.
    value_reader(std::string_view text, std::FILE* rest, value_span span, std::string source,
                 std::int64_t first_line);

    // The next value, or false at the end of the file (for value_span::line
    // also at the end of the line, which is left in place). Throws
    // conversion_error when the word there is not an integer in the 32-bit
    // range; `describe` names the value for that message.
    template <typename Describe>
    bool next(std::int32_t& value, Describe describe)
    {
        std::string shown;
        switch (scan(value, shown)) {
            case scanned::value:
                return true;
            case scanned::end:
                return false;
            case scanned::not_integer:
                throw conversion_error("expected " + describe() + ", found \"" + shown + "\"",
                                       line_);
            case scanned::out_of_range:
                break;
        }
        throw conversion_error(
            describe() + " is " + shown + ", outside the 32-bit range -2147483648 to 2147483647",
            line_);
    }

    value_span span() const { return span_; }

    // The line of the reading position; after a value, the line of that value.
    std::int64_t line() const { return line_; }

    // The line a message about running out of values names: the line being
    // read for value_span::line; for a whole file the line of the last value
    // read, or 0 when there was none (a line past the last value would point
    // at nothing).
    std::int64_t end_line() const { return span_ == value_span::line ? line_ : value_line_; }

    // Skips white space short of a line end; the byte there, or EOF.
    int skip_blanks();

    // Skips everything up to and including the next line end.
    void skip_line();

    // What has been read from the stream but not yet taken.
    std::string_view unread() const { return {data_ + position_, filled_ - position_}; }

private:
    enum class scanned { value, end, not_integer, out_of_range };

    scanned scan(std::int32_t& value, std::string& shown);
    void append_rest_of_word(std::string& shown);
    int peek();
    bool refill();

    std::FILE* stream_;
    value_span span_;
    std::string source_;
    const char* data_ = nullptr;      // the block being read: `text` or `buffer_`
    std::unique_ptr<char[]> buffer_;  // made at the first read from the stream
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool started_ = false;
    bool failed_ = false;
    std::int64_t line_ = 1;
    std::int64_t value_line_ = 0;
};
