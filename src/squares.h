// Records shared by the reader, the placement and the document.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// What a case file gives: the rectangle and the sides in placement order.
struct square_case {
    std::int32_t count = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::int32_t> sides;
    std::string caption;  // the text after a * that follows the last side; may be empty
    // How the case was written, for the warnings of a reading that may not
    // be what its writer meant: the values on the line from the first side
    // on (more than `count` when sides follow the last), and each bracket
    // that holds sides only, as the first side in it and the one past its
    // last (empty for the plain form).
    std::int64_t sides_given = 0;
    std::vector<std::int32_t> brackets;
};

// One placed square. Held in 64 bits so that a square reaching past the
// 32-bit range can be detected and rejected instead of wrapping; only
// checked values ever reach the document.
struct placement {
    std::int64_t column = 0;  // unit column of the left edge
    std::int64_t top = 0;     // y of the top edge
    std::int32_t side = 0;
};

// Every failure of a run travels as this one exception to the driver, which
// prints it. `line` is the case file line it concerns, or 0.
struct conversion_error : std::runtime_error {
    explicit conversion_error(const std::string& message, std::int64_t line_number = 0)
        : std::runtime_error(message), line(line_number)
    {
    }
    std::int64_t line;
};

// A write that failed: on any output it ends the run, whatever kind of run.
struct write_error : conversion_error {
    explicit write_error(const std::string& message) : conversion_error(message) {}
};
