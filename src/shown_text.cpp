#include "shown_text.h"

#include <cstddef>
#include <cstdint>

namespace {

// The length of the well-formed UTF-8 sequence at `at` and its code point,
// or 0 when the bytes there are not one (overlong forms, surrogates and
// code points past U+10FFFF included).
std::size_t utf8_sequence(const std::string& text, std::size_t at, std::uint32_t& code_point)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0) low = 0xa0;
        if (lead == 0xed) high = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0) low = 0x90;
        if (lead == 0xf4) high = 0x8f;
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(1) < low || byte(1) > high) return 0;
    code_point = lead & (0xff >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return 0;
        code_point = (code_point << 6) | (byte(i) & 0x3f);
    }
    return length;
}

bool shown_escaped(std::uint32_t code_point)
{
    return (code_point >= 0x80 && code_point <= 0x9f) || code_point == 0xfffe ||
           code_point == 0xffff ||
           (code_point >= 0x2028 && code_point <= 0x202e) ||
           (code_point >= 0x2066 && code_point <= 0x2069);
}

}  // namespace

void append_escaped_byte(std::string& text, unsigned char byte)
{
    static const char hex[] = "0123456789abcdef";
    text += "\\x";
    text += hex[byte >> 4];
    text += hex[byte & 0xf];
}

std::string shown_path(const std::string& path)
{
    std::string shown;
    shown.reserve(path.size());
    for (std::size_t at = 0; at < path.size();) {
        const auto byte = static_cast<unsigned char>(path[at]);
        if (byte >= 0x20 && byte < 0x7f) {
            shown += path[at++];
            continue;
        }
        std::uint32_t code_point = 0;
        std::size_t length = byte >= 0x80 ? utf8_sequence(path, at, code_point) : 0;
        if (length > 0 && !shown_escaped(code_point)) {
            shown.append(path, at, length);
        } else {
            // One byte at a time: the bytes after a broken lead may start a
            // well-formed sequence of their own.
            if (length == 0) length = 1;
            for (std::size_t i = 0; i < length; ++i) {
                append_escaped_byte(shown, static_cast<unsigned char>(path[at + i]));
            }
        }
        at += length;
    }
    return shown;
}

std::string escaped_markup(const std::string& text)
{
    // What XML 1.0 does not allow (C0 controls but tab, LF and CR; bytes
    // that are not well-formed UTF-8, surrogates among them; U+FFFE and
    // U+FFFF) becomes U+FFFD, so that no parser rejects the page.
    static const char replacement[] = "\xef\xbf\xbd";
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            std::uint32_t code_point = 0;
            const std::size_t length = utf8_sequence(text, at, code_point);
            if (length == 0 || code_point == 0xfffe || code_point == 0xffff) {
                out += replacement;
                at += length == 0 ? 1 : length;
            } else {
                out.append(text, at, length);
                at += length;
            }
            continue;
        }
        ++at;
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
            case '\n':
            case '\r':
                out += c;
                break;
            default:
                if (byte < 0x20) {
                    out += replacement;
                } else {
                    out += c;
                }
        }
    }
    return out;
}
