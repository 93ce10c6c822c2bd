#include "enumeration/code_lines.h"

#include <algorithm>
#include <cstdint>

namespace {

// The line's first three numbers: its order, the longer side and the shorter.
struct line_key {
    std::int64_t numbers[3] = {};
    std::string_view line;

    bool operator<(const line_key& other) const
    {
        for (int i = 0; i < 3; ++i) {
            if (numbers[i] != other.numbers[i]) return numbers[i] < other.numbers[i];
        }
        return line < other.line;
    }
};

line_key key_of(std::string_view line)
{
    line_key key;
    key.line = line;
    std::size_t at = 0;
    for (std::int64_t& number : key.numbers) {
        while (at < line.size() && line[at] == ' ') ++at;
        for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at)
            number = number * 10 + (line[at] - '0');
    }
    return key;
}

}  // namespace

std::vector<std::string_view> sorted_lines(const std::vector<const std::string*>& texts)
{
    // Each line's numbers read once, not at every comparison.
    std::vector<line_key> keyed;
    for (const std::string* text : texts) {
        std::size_t start = 0;
        while (start < text->size()) {
            std::size_t end = text->find('\n', start);
            if (end == std::string::npos) end = text->size();
            keyed.push_back(key_of(std::string_view(text->data() + start, end - start)));
            start = end + 1;
        }
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string_view> lines;
    lines.reserve(keyed.size());
    for (const line_key& k : keyed) {
        if (lines.empty() || lines.back() != k.line) lines.push_back(k.line);
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
