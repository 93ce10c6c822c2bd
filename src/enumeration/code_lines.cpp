#include "enumeration/code_lines.h"

#include <algorithm>
#include <cstdint>

namespace {

// A line's place in the order: the length of its first number and the
// line's first 15 bytes in two big-endian words (a shorter line padded
// with 0, which sorts a prefix first, as byte order does), then the whole
// line. Most comparisons end at the words, without a call to compare
// bytes; 32 bytes a line, where a length and a string_view took 24.
struct keyed_line {
    std::uint64_t head[2];
    const char* data;
    std::uint32_t size;

    std::string_view line() const { return {data, size}; }
    bool operator<(const keyed_line& o) const
    {
        if (head[0] != o.head[0]) return head[0] < o.head[0];
        if (head[1] != o.head[1]) return head[1] < o.head[1];
        return line() < o.line();
    }
};

std::uint64_t word_at(std::string_view line, std::size_t from, std::size_t bytes)
{
    std::uint64_t word = 0;
    for (std::size_t i = from; i < from + bytes; ++i) {
        word = word << 8 | (i < line.size() ? static_cast<unsigned char>(line[i]) : 0u);
    }
    return word;
}

}  // namespace

std::vector<std::string_view> sorted_lines(const std::vector<const std::string*>& texts)
{
    std::vector<keyed_line> keyed;
    for (const std::string* text : texts) {
        std::size_t start = 0;
        while (start < text->size()) {
            std::size_t end = text->find('\n', start);
            if (end == std::string::npos) end = text->size();
            const std::string_view line(text->data() + start, end - start);
            const std::uint64_t number_length = std::min<std::size_t>(line.find(' '), 255);
            keyed.push_back({{number_length << 56 | word_at(line, 0, 7), word_at(line, 7, 8)},
                             line.data(),
                             static_cast<std::uint32_t>(line.size())});
            start = end + 1;
        }
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string_view> lines;
    lines.reserve(keyed.size());
    for (const keyed_line& k : keyed) {
        if (lines.empty() || lines.back() != k.line()) lines.push_back(k.line());
    }
    return lines;
}

int order_of(std::string_view line)
{
    int order = 0;
    for (const char c : line) {
        if (c < '0' || c > '9') break;
        order = order * 10 + (c - '0');
    }
    return order;
}
