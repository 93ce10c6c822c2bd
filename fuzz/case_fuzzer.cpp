// Runs the whole conversion on arbitrary bytes as the case file, with the
// document kept in memory. Any crash, sanitizer report, timeout or runaway
// allocation is a finding; so is a document that is not what a successful
// run promises.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../tests/memory_files.h"
#include "document/picture_writer.h"
#include "document/skal.h"
#include "driver.h"
#include "read_case.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

std::size_t count_lines(const std::string& text)
{
    std::size_t lines = 0;
    for (const char c : text) lines += c == '\n';
    return lines;
}

// Every label line carries the scale as printf formats it and the side.
void check_labels(const std::string& text, const square_case& c)
{
    const std::string opening = "{\\psscalebox{";
    std::size_t at = 0;
    for (const std::int32_t side : c.sides) {
        at = text.find(opening, at);
        require(at != std::string::npos);
        at += opening.size();
        char expected[400];
        std::snprintf(expected, sizeof expected, "%f}{%d}}\n", skal(side, c.width), side);
        require(text.compare(at, std::strlen(expected), expected) == 0);
    }
}

std::size_t count_of(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The SVG drawing of a case that converts: one outline per square of side 1
// or more, and a complete file.
void check_svg(const square_case& c)
{
    memory_files files;
    tiling_report report(c.height);
    draw_case(c, *find_format("svg")->open(files, "squares.svg"), report);
    const std::string& text = files.files.at("squares.svg");
    std::size_t drawn = 0;
    for (const std::int32_t side : c.sides) drawn += side > 0;
    require(count_of(text, "<rect class=\"square") == drawn);
    require(count_of(text, "</text>") == drawn);
    const std::string tail = "</svg>\n";
    require(text.size() > tail.size() &&
            text.compare(text.size() - tail.size(), tail.size(), tail) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // fmemopen needs at least one byte; a blank reads as an empty file does.
    std::vector<char> bytes(data, data + size);
    if (bytes.empty()) bytes.push_back(' ');
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(
        fmemopen(bytes.data(), bytes.size(), "r"), &std::fclose);
    require(stream != nullptr);

    memory_files files;
    files.files["squares.tex"] = "previous";
    try {
        const square_case c = read_case_from(stream.get());
        write_document(c, files);
        const std::string& text = files.files.at("squares.tex");
        require(count_lines(text) == 10 + 6 * c.sides.size());
        check_labels(text, c);
        const std::string tail = "  \\end{pspicture}\n\\end{document}\n";
        require(text.size() > tail.size() &&
                text.compare(text.size() - tail.size(), tail.size(), tail) == 0);
        check_svg(c);
    } catch (const conversion_error& e) {
        // A failed run leaves the previous document and nothing else.
        require(std::strlen(e.what()) > 0);
        require(files.files.size() == 1 && files.files.at("squares.tex") == "previous");
    }
    return 0;
}
