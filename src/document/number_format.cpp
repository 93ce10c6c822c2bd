#include "document/number_format.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr int longest_integer = 24;

}  // namespace

char* put_integer(char* out, std::int64_t value)
{
    return std::to_chars(out, out + longest_integer, value).ptr;
}

char* put_fixed(char* out, double value)
{
    return std::to_chars(out, out + longest_fixed, value, std::chars_format::fixed, 6).ptr;
}

char* put_half(char* out, std::int64_t twice)
{
    if (twice < 0) *out++ = '-';
    const std::uint64_t magnitude =
        twice < 0 ? 0 - static_cast<std::uint64_t>(twice) : static_cast<std::uint64_t>(twice);
    out = std::to_chars(out, out + longest_integer, magnitude / 2).ptr;
    return put_text(out, magnitude % 2 != 0 ? ".500000" : ".000000");
}

char* put_centre(char* out, std::int64_t twice)
{
    if (twice < 0) {
        *out++ = '-';
        twice = -twice;
    }
    out = put_integer(out, twice / 2);
    return twice % 2 != 0 ? put_text(out, ".5") : out;
}

rounded round_significant(double value, int digits)
{
    char text[64];
    const char* end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1)
            .ptr;
    rounded r;
    std::from_chars(text, end, r.value);
    const char* e = std::find(static_cast<const char*>(text), end, 'e') + 1;
    if (*e == '+') ++e;
    int exponent = 0;
    std::from_chars(e, end, exponent);
    r.decimals = std::max(0, digits - 1 - exponent);
    return r;
}

char* put_trimmed(char* out, double value, int decimals)
{
    char* const start = out;
    out = std::to_chars(out, out + longest_fixed, value, std::chars_format::fixed, decimals).ptr;
    if (decimals > 0) {
        while (out[-1] == '0') --out;
        if (out[-1] == '.') --out;
    }
    if (out - start == 2 && start[0] == '-' && start[1] == '0') {
        start[0] = '0';
        --out;
    }
    return out;
}

int digit_count(std::int32_t value)
{
    int digits = 0;
    do {
        ++digits;
        value /= 10;
    } while (value != 0);
    return digits;
}
