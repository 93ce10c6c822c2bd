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
