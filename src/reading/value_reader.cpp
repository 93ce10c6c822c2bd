#include "reading/value_reader.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "shown_text.h"
#include "squares.h"

namespace {

constexpr std::int64_t int32_min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();
constexpr std::size_t block_size = 1 << 16;

// Long words are cut short in messages; a case may hold a million digits.
constexpr std::size_t shown_text_limit = 24;

bool is_separator(int c)
{
    switch (c) {
        case ' ':
        case '\t':
        case '\n':
        case '\v':
        case '\f':
        case '\r':
        case '(':
        case ')':
        case '[':
        case ']':
        case '{':
        case '}':
        case ',':
            return true;
        default:
            return false;
    }
}

bool is_blank(int c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool is_digit(int c)
{
    return c >= '0' && c <= '9';
}

// Quotes and backslashes are escaped too: the word is shown in quotes.
void append_shown(std::string& shown, int c)
{
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
        shown += static_cast<char>(c);
    } else {
        append_escaped_byte(shown, static_cast<unsigned char>(c));
    }
}

}  // namespace

value_reader::value_reader(std::FILE* stream, value_span span, std::string source)
    : stream_(stream), span_(span), source_(std::move(source))
{
}

value_reader::value_reader(std::string_view text, std::FILE* rest, value_span span,
                           std::string source, std::int64_t first_line)
    : stream_(rest),
      span_(span),
      source_(std::move(source)),
      data_(text.data()),
      filled_(text.size()),
      started_(true),
      line_(first_line)
{
}

value_reader::token value_reader::take(std::int32_t& value)
{
    // Brackets are counted here, among the separators, where they cost
    // nothing on the way from one value to the next.
    int c = peek();
    for (;; c = peek()) {
        switch (c) {
            case ' ':
            case '\t':
            case '\v':
            case '\f':
            case ',':
            case '{':
            case '}':
                ++position_;
                continue;
            case '\n':
            case '\r':
                if (span_ == value_span::line || within_line_) return token::end;
                pass_line_end();
                continue;
            case '(':
            case '[':
                open_bracket();
                ++position_;
                continue;
            case ')':
            case ']':
                close_bracket();
                ++position_;
                continue;
            default:
                break;
        }
        break;
    }
    if (c == EOF) return token::end;
    if (c == '*') return token::star;

    shown_.clear();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        append_shown(shown_, c);
        ++position_;
        c = peek();
    }
    std::int64_t magnitude = 0;
    bool too_large = false;
    std::size_t digits = 0;
    while (is_digit(c)) {
        if (!too_large) {
            magnitude = magnitude * 10 + (c - '0');
            too_large = magnitude > int32_max + 1;
        }
        if (++digits <= shown_text_limit) append_shown(shown_, c);
        ++position_;
        c = peek();
    }
    if (digits == 0 || (c != EOF && !is_separator(c))) {
        append_rest_of_word();
        return token::word;
    }
    const std::int64_t signed_value = negative ? -magnitude : magnitude;
    if (too_large || signed_value < int32_min || signed_value > int32_max) {
        if (digits > shown_text_limit) shown_ += "...";
        return token::out_of_range;
    }
    value = static_cast<std::int32_t>(signed_value);
    value_line_ = line_;
    if (marks_.first_close >= 0 && marks_.depth == 0 && marks_.outside < 0) {
        marks_.outside = marks_.values;
    }
    ++marks_.values;
    return token::value;
}

void value_reader::open_bracket()
{
    if (marks_.first_open < 0) {
        marks_.first_open = marks_.values;
        marks_.open_line = line_;
    }
    if (marks_.depth++ == 0) bounds_.push_back(marks_.values);
}

void value_reader::close_bracket()
{
    if (marks_.depth > 0 && --marks_.depth == 0) bounds_.push_back(marks_.values);
    if (marks_.first_open >= 0 && marks_.first_close < 0) marks_.first_close = marks_.values;
}

std::int64_t value_reader::take_line_values()
{
    within_line_ = true;
    std::int64_t taken = 0;
    std::int32_t value = 0;
    try {
        while (take(value) == token::value) ++taken;
    } catch (...) {
        within_line_ = false;
        throw;
    }
    within_line_ = false;
    return taken;
}

void value_reader::take_word()
{
    shown_.clear();
    append_rest_of_word();
}

// The rest of the offending word, up to the next separator, cut short past
// the limit.
void value_reader::append_rest_of_word()
{
    for (int c = peek(); c != EOF && !is_separator(c); c = peek()) {
        if (shown_.size() >= shown_text_limit) {
            shown_ += "...";
            return;
        }
        append_shown(shown_, c);
        ++position_;
    }
}

bool value_reader::take_star(std::size_t limit)
{
    for (std::size_t looked = 0; looked < limit; ++looked) {
        const int c = peek();
        if (c == '*') {
            ++position_;
            return true;
        }
        if (c == EOF || c == '\n' || c == '\r' || !is_separator(c)) return false;
        if (c == '(' || c == '[') open_bracket();
        if (c == ')' || c == ']') close_bracket();
        ++position_;
    }
    return false;
}

void value_reader::take_line_text(std::string& text, std::size_t limit)
{
    for (std::size_t taken = 0; taken < limit; ++taken) {
        const int c = peek();
        if (c == EOF || c == '\n' || c == '\r') return;
        text += static_cast<char>(c);
        ++position_;
    }
}

int value_reader::skip_blanks()
{
    int c = peek();
    while (is_blank(c)) {
        ++position_;
        c = peek();
    }
    return c;
}

void value_reader::skip_line()
{
    for (;;) {
        if (position_ == filled_ && !refill()) return;
        if (ends_.first != data_) ends_ = {data_, line_end_finder({data_, filled_})};
        position_ = ends_.second.next(position_);
        if (position_ < filled_) {
            pass_line_end();
            return;
        }
    }
}

void value_reader::pass_line_end()
{
    const bool cr = data_[position_] == '\r';
    ++position_;
    ++line_;
    // The LF of a CR LF may be the first byte of the next block.
    if (cr && peek() == '\n') ++position_;
}

int value_reader::peek()
{
    if (position_ == filled_ && !refill()) return EOF;
    return static_cast<unsigned char>(data_[position_]);
}

bool value_reader::refill()
{
    if (failed_ || stream_ == nullptr) return false;
    if (!buffer_) buffer_.reset(new char[block_size]);
    data_ = buffer_.get();
    ends_.first = nullptr;  // a new block in the same buffer
    position_ = 0;
    filled_ = std::fread(buffer_.get(), 1, block_size, stream_);
    if (filled_ == 0 && std::ferror(stream_)) {
        // The stream counts as ended from here on: a caller reading on
        // after the message finds no more values.
        failed_ = true;
        throw conversion_error("cannot read " + source_ + ": " + std::strerror(errno));
    }
    if (!started_) {
        // fread fills the block unless the stream ends first, so a mark at
        // the start is whole in the first block.
        started_ = true;
        if (filled_ >= 3 && std::memcmp(buffer_.get(), "\xef\xbb\xbf", 3) == 0) position_ = 3;
        if (filled_ > 0 && position_ == filled_) return refill();
    }
    return filled_ > 0;
}
