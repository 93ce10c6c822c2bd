#include "read_case.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "value_reader.h"

namespace {

std::string span_ends(const value_reader& reader)
{
    return reader.span() == value_span::line ? "the line ends" : "the file ends";
}

std::int32_t read_header_value(value_reader& reader, const std::string& what)
{
    std::int32_t value = 0;
    if (!reader.next(value, [&] { return what; })) {
        throw conversion_error(span_ends(reader) + " before " + what, reader.end_line());
    }
    return value;
}

}  // namespace

std::int64_t read_case_values(value_reader& reader, square_case& c)
{
    c.sides.clear();
    c.count = read_header_value(reader, "the count");
    const std::int64_t first_line = reader.line();
    if (c.count < 0) {
        throw conversion_error("the count is " + std::to_string(c.count) + "; it must be 0 or more",
                               reader.line());
    }
    c.width = read_header_value(reader, "the width");
    if (c.width < 1) {
        throw conversion_error("the width is " + std::to_string(c.width) + "; it must be 1 or more",
                               reader.line());
    }
    c.height = read_header_value(reader, "the height");

    // The count is not trusted for the allocation: a huge count in a short
    // file must end in a message, not in an out-of-memory failure.
    c.sides.reserve(std::min<std::size_t>(static_cast<std::size_t>(c.count), 1 << 16));
    const std::string of_count = " of " + std::to_string(c.count);
    for (std::int32_t i = 0; i < c.count; ++i) {
        std::int32_t side = 0;
        if (!reader.next(side, [&] { return "side " + std::to_string(i + 1) + of_count; })) {
            throw conversion_error(span_ends(reader) + " after " + std::to_string(i) + of_count +
                                       " sides; side " + std::to_string(i + 1) + " is missing",
                                   reader.end_line());
        }
        c.sides.push_back(side);
    }
    return first_line;
}

square_case read_case_from(std::FILE* stream, std::int64_t* first_line)
{
    value_reader reader(stream, value_span::file, "the case file");
    square_case c;
    const std::int64_t line = read_case_values(reader, c);
    if (first_line != nullptr) *first_line = line;
    return c;
}

square_case read_case(const std::string& path, std::int64_t* first_line)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(path.c_str(), "r"),
                                                           &std::fclose);
    if (!stream) {
        throw conversion_error(std::string("cannot open the case file: ") + std::strerror(errno));
    }
    return read_case_from(stream.get(), first_line);
}
