#include "catalogue/made_names.h"

#include "document/gallery.h"
#include "document/picture_writer.h"

namespace {

bool all_digits(const std::string& text, std::size_t from, std::size_t to)
{
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

// "NNNNNN-ORDER-WxH": six or more digits, the order, the width, x and the
// height, which may be negative.
bool is_drawing_stem(const std::string& stem)
{
    const std::size_t first = stem.find('-');
    if (first == std::string::npos || first < 6 || !all_digits(stem, 0, first)) return false;
    const std::size_t second = stem.find('-', first + 1);
    if (second == std::string::npos || !all_digits(stem, first + 1, second)) return false;
    const std::size_t x = stem.find('x', second + 1);
    if (x == std::string::npos || !all_digits(stem, second + 1, x)) return false;
    const std::size_t height = x + 1 < stem.size() && stem[x + 1] == '-' ? x + 2 : x + 1;
    return all_digits(stem, height, stem.size());
}

}  // namespace

std::string drawing_name(std::int64_t number, const square_case& c, const char* extension)
{
    std::string digits = std::to_string(number);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    return digits + "-" + std::to_string(c.count) + "-" + std::to_string(c.width) + "x" +
           std::to_string(c.height) + extension;
}

name_kinds made_name_kinds()
{
    return name_kinds{is_made_name, gallery::is_page_name};
}

bool is_made_name(const std::string& name)
{
    if (gallery::is_page_name(name)) return true;
    for (const std::string& extension : format_extensions()) {
        if (name.size() > extension.size() &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0 &&
            is_drawing_stem(name.substr(0, name.size() - extension.size()))) {
            return true;
        }
    }
    return false;
}
