#include "shown_text.h"

std::string shown_path(const std::string& path)
{
    static const char hex[] = "0123456789abcdef";
    std::string shown;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f) {
            shown += "\\x";
            shown += hex[c >> 4];
            shown += hex[c & 0xf];
        } else {
            shown += ch;
        }
    }
    return shown;
}
