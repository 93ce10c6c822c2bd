#include "enumeration/code_lines.h"

#include <algorithm>

bool comes_before(std::string_view a, std::string_view b)
{
    // Numbers without leading zeros: the shorter one is the smaller.
    const std::size_t la = std::min(a.find(' '), a.size());
    const std::size_t lb = std::min(b.find(' '), b.size());
    if (la != lb) return la < lb;
    return a < b;
}

std::vector<std::string_view> sorted_lines(const std::vector<const std::string*>& texts)
{
    std::vector<std::string_view> lines;
    for (const std::string* text : texts) {
        std::size_t start = 0;
        while (start < text->size()) {
            std::size_t end = text->find('\n', start);
            if (end == std::string::npos) end = text->size();
            lines.emplace_back(text->data() + start, end - start);
            start = end + 1;
        }
    }
    std::sort(lines.begin(), lines.end(), comes_before);
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
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
