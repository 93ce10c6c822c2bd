#include "read_case.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr std::int64_t int32_min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();

// Long values are cut short in messages; a case may hold a million digits.
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
        case ',':
            return true;
        default:
            return false;
    }
}

bool is_digit(int c)
{
    return c >= '0' && c <= '9';
}

void append_shown(std::string& shown, int c)
{
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
        shown += static_cast<char>(c);
    } else {
        static const char hex[] = "0123456789abcdef";
        shown += "\\x";
        shown += hex[(c >> 4) & 0xf];
        shown += hex[c & 0xf];
    }
}

// Reads the stream in blocks and hands out values one by one, counting
// lines for the messages.
class value_reader {
public:
    explicit value_reader(std::FILE* stream) : stream_(stream) {}

    std::int64_t line() const { return line_; }

    // The next value, or false at the end of the file. `describe` names the
    // value for a message and is only called when one is needed.
    template <typename Describe>
    bool next(std::int32_t& value, Describe describe)
    {
        int c = peek();
        while (is_separator(c)) {
            if (c == '\n') ++line_;
            take();
            c = peek();
        }
        if (c == EOF) return false;

        std::string shown;
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            append_shown(shown, c);
            take();
            c = peek();
        }
        if (!is_digit(c)) {
            throw conversion_error(
                "expected " + describe() + ", found \"" + rest_of_word(shown) + "\"", line_);
        }
        std::int64_t magnitude = 0;
        bool too_large = false;
        std::size_t digits = 0;
        while (is_digit(c)) {
            if (!too_large) {
                magnitude = magnitude * 10 + (c - '0');
                too_large = magnitude > int32_max + 1;
            }
            if (++digits <= shown_text_limit) append_shown(shown, c);
            take();
            c = peek();
        }
        const std::int64_t signed_value = negative ? -magnitude : magnitude;
        if (too_large || signed_value < int32_min || signed_value > int32_max) {
            if (digits > shown_text_limit) shown += "...";
            throw conversion_error(describe() + " is " + shown +
                                       ", outside the 32-bit range -2147483648 to 2147483647",
                                   line_);
        }
        value = static_cast<std::int32_t>(signed_value);
        return true;
    }

private:
    int peek()
    {
        if (position_ == filled_ && !refill()) return EOF;
        return static_cast<unsigned char>(buffer_[position_]);
    }

    void take() { ++position_; }

    bool refill()
    {
        position_ = 0;
        filled_ = std::fread(buffer_, 1, sizeof buffer_, stream_);
        if (filled_ == 0 && std::ferror(stream_)) {
            throw conversion_error(std::string("cannot read the case file: ") +
                                   std::strerror(errno));
        }
        return filled_ > 0;
    }

    // The offending word, for a message: what was taken so far and the
    // characters up to the next separator.
    std::string rest_of_word(std::string shown)
    {
        for (int c = peek(); c != EOF && !is_separator(c); c = peek()) {
            if (shown.size() >= shown_text_limit) {
                shown += "...";
                break;
            }
            append_shown(shown, c);
            take();
        }
        return shown;
    }

    std::FILE* stream_;
    char buffer_[1 << 16];
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    std::int64_t line_ = 1;
};

std::int32_t read_header_value(value_reader& reader, const std::string& what)
{
    std::int32_t value = 0;
    if (!reader.next(value, [&] { return what; })) {
        throw conversion_error("the file ends before " + what, reader.line());
    }
    return value;
}

}  // namespace

square_case read_case_from(std::FILE* stream)
{
    // On the heap: the reader holds a 64 KiB buffer.
    auto reader = std::make_unique<value_reader>(stream);
    square_case c;
    c.count = read_header_value(*reader, "the count");
    if (c.count < 0) {
        throw conversion_error("the count is " + std::to_string(c.count) + "; it must be 0 or more",
                               reader->line());
    }
    c.width = read_header_value(*reader, "the width");
    if (c.width < 1) {
        throw conversion_error("the width is " + std::to_string(c.width) + "; it must be 1 or more",
                               reader->line());
    }
    c.height = read_header_value(*reader, "the height");

    // The count is not trusted for the allocation: a huge count in a short
    // file must end in a message, not in an out-of-memory failure.
    c.sides.reserve(std::min<std::size_t>(static_cast<std::size_t>(c.count), 1 << 16));
    const std::string of_count = " of " + std::to_string(c.count);
    for (std::int32_t i = 0; i < c.count; ++i) {
        std::int32_t side = 0;
        if (!reader->next(side, [&] { return "side " + std::to_string(i + 1) + of_count; })) {
            throw conversion_error("the file ends after " + std::to_string(i) + of_count +
                                       " sides; side " + std::to_string(i + 1) + " is missing",
                                   reader->line());
        }
        c.sides.push_back(side);
    }
    return c;
}

square_case read_case(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(path.c_str(), "r"),
                                                           &std::fclose);
    if (!stream) {
        throw conversion_error(std::string("cannot open the case file: ") + std::strerror(errno));
    }
    return read_case_from(stream.get());
}
