// Reading whole-number values from a stream, block by block, for case files
// and catalogues.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Finds line ends in a block of text: LF, CR LF or a lone CR. The next LF
// is remembered, so that text with CR line ends is not searched to its end
// once for each line.
class line_end_finder {
public:
    explicit line_end_finder(std::string_view text) : text_(text) {}

    // The index of the first CR or LF at or after `from`, or the text's size.
    std::size_t next(std::size_t from)
    {
        if (from >= text_.size()) return text_.size();
        if (!lf_known_ || lf_ < from) {
            const void* lf = std::memchr(text_.data() + from, '\n', text_.size() - from);
            lf_ = lf != nullptr ? index_of(lf) : text_.size();
            lf_known_ = true;
        }
        const void* cr = std::memchr(text_.data() + from, '\r', lf_ - from);
        return cr != nullptr ? index_of(cr) : lf_;
    }

private:
    std::size_t index_of(const void* at) const
    {
        return static_cast<std::size_t>(static_cast<const char*>(at) - text_.data());
    }

    std::string_view text_;
    std::size_t lf_ = 0;
    bool lf_known_ = false;
};

// How far one run of values may reach: the whole file (a case file), or one
// line (a catalogue, one case per line).
enum class value_span { file, line };

// Hands out the values of a stream one by one. A value is a whole word: an
// optional sign and decimal digits, ended by a separator (white space or one
// of ( ) [ ] { } ,) or by the end of the file. A UTF-8 byte-order mark at the very
// start of the stream is skipped. Lines are counted for the messages; LF,
// CR LF (one line end, also split between two blocks) and a lone CR each
// end a line.
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

    // What the reader found where a value was due.
    enum class token {
        value,         // a value, now taken
        end,           // the end of the file (for value_span::line also of the line, left in place)
        star,          // a *, which begins a caption; left in place
        word,          // text that is not an integer, now taken; word() quotes it
        out_of_range,  // an integer outside the 32-bit range, now taken; word() quotes it
    };

    // The next value into `value`, or what stands in its place.
    token take(std::int32_t& value);

    // Takes the word at the reading position (a * and what follows it) so
    // that word() quotes it.
    void take_word();

    // The last word or out-of-range value taken, cut short for messages.
    const std::string& word() const { return shown_; }

    // Where the values taken since begin_code() stand to the brackets ( and
    // [ (braces are no brackets): counts of values taken before each mark,
    // -1 while the mark has not been met.
    struct bracket_marks {
        std::int64_t values = 0;        // taken so far
        std::int64_t first_open = -1;   // before the first opening bracket
        std::int64_t first_close = -1;  // before the first closing one after it
        std::int64_t outside = -1;      // before the first value outside brackets after that
        std::int64_t open_line = 0;     // the line of the first opening bracket
        std::int64_t depth = 0;         // brackets open at the reading position
    };

    // Starts counting the marks of a new case.
    void begin_code()
    {
        marks_ = bracket_marks{};
        bounds_.clear();
    }
    const bracket_marks& marks() const { return marks_; }

    // Where each outermost bracket opened and closed since begin_code(), as
    // counts of values taken before it: open, close, open, close...
    const std::vector<std::int64_t>& bracket_bounds() const { return bounds_; }

    // Takes the values left on the reading position's line, up to a *, a
    // word, the line end (left in place) or the end of the file: how many.
    std::int64_t take_line_values();

    // Skips blanks, brackets, commas and braces short of a line end, `limit`
    // bytes at most (noting the brackets), and takes a * found there: true
    // when it did.
    bool take_star(std::size_t limit);

    // Appends the bytes up to the line end (left in place) or the end of the
    // file, `limit` bytes at most.
    void take_line_text(std::string& text, std::size_t limit);

    value_span span() const { return span_; }

    // The line of the reading position; after a value, the line of that value.
    std::int64_t line() const { return line_; }

    // The line of the last value taken, or 0.
    std::int64_t value_line() const { return value_line_; }

    // The line a message about running out of values names: the line being
    // read for value_span::line; for a whole file the line of the last value
    // read, or 0 when there was none (a line past the last value would point
    // at nothing).
    std::int64_t end_line() const { return span_ == value_span::line ? line_ : value_line_; }

    // Skips white space short of a line end; the byte there (a line end is
    // '\n' or '\r'), or EOF.
    int skip_blanks();

    // Skips everything up to and including the next line end.
    void skip_line();

    // What has been read from the stream but not yet taken.
    std::string_view unread() const { return {data_ + position_, filled_ - position_}; }

private:
    void append_rest_of_word();
    // Passes the line end at the reading position: CR, LF or CR LF.
    void pass_line_end();
    void open_bracket();
    void close_bracket();
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
    std::string shown_;
    bracket_marks marks_;
    // Line ends found in the block `first` (a block in memory may hold
    // many lines).
    std::pair<const char*, line_end_finder> ends_{nullptr, line_end_finder({})};
    std::vector<std::int64_t> bounds_;
    bool within_line_ = false;  // take() stops at a line end whatever the span
};
