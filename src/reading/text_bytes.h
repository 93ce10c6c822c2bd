// The bytes of case files and catalogues: what separates values, blanks,
// digits, and the line ends of text held in memory. Inline: the readers ask
// about every byte.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// White space, brackets, braces and commas end a value.
inline bool is_separator(int c)
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

inline bool is_blank(int c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

inline bool is_digit(int c)
{
    return c >= '0' && c <= '9';
}

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
