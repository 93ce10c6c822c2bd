// The document's number formats, written straight into a buffer. Each
// function writes at `out` and returns the end of what it wrote.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "files/line_end.h"

inline char* put_text(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

inline char* put_line_end(char* out)
{
    return put_text(out, line_end);
}

// Texts of at most `short_text` bytes, held in buffers of that size, are
// copied whole by one fixed-size move, quicker than a copy of variable
// length; the caller has reserved room for all of it.
constexpr std::size_t short_text = 32;

inline char* put_short(char* out, const char* text, std::size_t length)
{
    std::memcpy(out, text, short_text);
    return out + length;
}

// "%d": a value already known to fit in 32 bits.
char* put_integer(char* out, std::int64_t value);

// Longer than any "%f" of a double (309 digits, sign, point, six decimals).
constexpr std::size_t longest_fixed = 330;

// "%f": six decimals, rounded to nearest from the exact binary value, ties
// to even, as the C library's printf does.
char* put_fixed(char* out, double value);

// "%f" of twice / 2, for a square's centre, always a whole or half unit.
char* put_half(char* out, std::int64_t twice);

// twice / 2, a whole or half unit, trimmed: 12 or 12.5.
char* put_centre(char* out, std::int64_t twice);

// A value rounded to a few significant digits, with the decimal places
// that show it exactly.
struct rounded {
    double value = 0;
    int decimals = 0;
};

rounded round_significant(double value, int digits);

// `value` with `decimals` places, trailing zeros dropped (0.055, 33.11, 250)
// and "-0" written as "0".
char* put_trimmed(char* out, double value, int decimals);

// The decimal digits of a side, as its label shows them (1 for 0).
int digit_count(std::int32_t value);
