#include "document/pdf_text.h"

#include <cstdint>
#include <vector>

namespace {

constexpr char32_t replacement = 0xfffd;

// The code points of UTF-8 text; a byte that does not begin a well-formed
// sequence stands for U+FFFD.
std::vector<char32_t> code_points(const std::string& utf8)
{
    std::vector<char32_t> points;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xf0 && lead < 0xf5 ? 4
                                         : lead >= 0xe0                  ? 3
                                         : lead >= 0xc2 && lead < 0xe0   ? 2
                                                                         : 0;
        char32_t point = length == 1 ? lead : lead & (0x7f >> length);
        bool good = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; good && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            good = (next & 0xc0) == 0x80;
            point = (point << 6) | (next & 0x3f);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        good = good && point >= least[length] && point <= 0x10ffff &&
               !(point >= 0xd800 && point <= 0xdfff);
        points.push_back(good ? point : replacement);
        i += good ? static_cast<std::size_t>(length) : 1;
    }
    return points;
}

// WinAnsiEncoding's codes 0x80 to 0x9f, by their Unicode code points (0:
// none).
constexpr char16_t win_ansi_high[32] = {
    0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178,
};

// Helvetica's advance widths in 1/1000 em, for WinAnsi codes 0x20 to 0xff,
// from Adobe's font metrics (0 for codes without a character).
constexpr std::uint16_t widths[224] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,   // 20
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,   // 30
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // 40
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,   // 50
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,   // 60
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584, 0,     // 70
    556, 0, 222, 556, 333, 1000, 556, 556, 333, 1000, 667, 333, 1000, 0, 611, 0,      // 80
    0, 222, 222, 333, 333, 350, 556, 1000, 333, 1000, 500, 333, 944, 0, 500, 667,     // 90
    278, 333, 556, 556, 556, 556, 260, 556, 333, 737, 370, 556, 584, 333, 737, 333,   // A0
    400, 584, 333, 333, 333, 556, 537, 278, 333, 333, 365, 556, 834, 834, 834, 611,   // B0
    667, 667, 667, 667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,  // C0
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,   // D0
    556, 556, 556, 556, 556, 556, 889, 500, 556, 556, 556, 556, 278, 278, 278, 278,   // E0
    556, 556, 556, 556, 556, 556, 556, 584, 611, 556, 556, 556, 556, 500, 556, 500,   // F0
};

bool printable_ascii(char32_t point)
{
    return point >= 0x20 && point < 0x7f;
}

}  // namespace

std::string pdf_text_string(const std::string& utf8)
{
    const std::vector<char32_t> points = code_points(utf8);
    bool ascii = true;
    for (const char32_t point : points) ascii = ascii && printable_ascii(point);
    if (ascii) return pdf_literal(utf8);
    static const char hex[] = "0123456789ABCDEF";
    std::string text = "<FEFF";
    const auto put_unit = [&](std::uint32_t unit) {
        for (int shift = 12; shift >= 0; shift -= 4) text += hex[(unit >> shift) & 0xf];
    };
    for (const char32_t point : points) {
        if (point < 0x10000) {
            put_unit(point);
        } else {
            put_unit(0xd800 + ((point - 0x10000) >> 10));
            put_unit(0xdc00 + ((point - 0x10000) & 0x3ff));
        }
    }
    return text + ">";
}

std::string to_win_ansi(const std::string& utf8)
{
    std::string text;
    for (const char32_t point : code_points(utf8)) {
        char code = '?';
        if (printable_ascii(point) || (point >= 0xa0 && point <= 0xff)) {
            code = static_cast<char>(point);
        } else {
            for (int k = 0; k < 32; ++k) {
                if (win_ansi_high[k] != 0 && win_ansi_high[k] == point)
                    code = static_cast<char>(0x80 + k);
            }
        }
        text += code;
    }
    return text;
}

std::string pdf_literal(const std::string& bytes)
{
    std::string text = "(";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            // Octal, so that no line end or control byte is taken literally.
            text += '\\';
            text += static_cast<char>('0' + (byte >> 6));
            text += static_cast<char>('0' + ((byte >> 3) & 7));
            text += static_cast<char>('0' + (byte & 7));
        } else {
            text += c;
        }
    }
    return text + ")";
}

double helvetica_width(const std::string& win_ansi)
{
    long total = 0;
    for (const char c : win_ansi) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20) total += widths[byte - 0x20];
    }
    return static_cast<double>(total) / 1000;
}
