#include "enumeration/code_lines.h"

#include <algorithm>

std::vector<std::string_view> sorted_lines(const std::vector<const std::string*>& texts)
{
    // Sorted with the length of the first number found once per line.
    std::vector<std::pair<std::size_t, std::string_view>> keyed;
    for (const std::string* text : texts) {
        std::size_t start = 0;
        while (start < text->size()) {
            std::size_t end = text->find('\n', start);
            if (end == std::string::npos) end = text->size();
            const std::string_view line(text->data() + start, end - start);
            keyed.emplace_back(std::min(line.find(' '), line.size()), line);
            start = end + 1;
        }
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string_view> lines;
    lines.reserve(keyed.size());
    for (const auto& k : keyed) {
        if (lines.empty() || lines.back() != k.second) lines.push_back(k.second);
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
