#include "document/number_format.h"

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
