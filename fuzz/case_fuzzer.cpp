// Runs the whole conversion on arbitrary bytes as the case file, with the
// document kept in memory. Any crash, sanitizer report, timeout or runaway
// allocation is a finding; so is a document that is not what a successful
// run promises.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../tests/memory_files.h"
#include "analysis/canonical.h"
#include "document/case_report.h"
#include "document/picture_writer.h"
#include "document/skal.h"
#include "reading/read_case.h"
#include "reading/read_catalogue.h"

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

bool ends_with(const std::string& text, const std::string& tail)
{
    return text.size() > tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The case drawn in a format, kept in memory; and how many squares it draws.
std::string drawing(const square_case& c, const char* format, std::size_t& drawn,
                    const std::vector<sub_rectangle>& outlines = {})
{
    memory_files files;
    tiling_report report(c.height);
    std::size_t placed = c.sides.size();
    drawn = 0;
    try {
        draw_case(c, *find_format(format)->open(files, "drawing", {}), report, true, outlines);
    } catch (const placement_error& e) {
        // Drawn up to the square that fails, and it too if it can be.
        placed = e.square - 1;
        drawn = e.drawable;
    }
    for (std::size_t i = 0; i < placed; ++i) drawn += c.sides[i] > 0;
    return files.files.at("drawing");
}

// The SVG drawing of a case that converts: one outline per square of side 1
// or more, one per sub-rectangle the check lists, and a complete file.
void check_svg(const square_case& c)
{
    std::size_t drawn = 0;
    const case_verdict verdict = check_case(c);
    const std::vector<sub_rectangle>& outlines = outlined_subrectangles(verdict);
    const std::string text = drawing(c, "svg", drawn, outlines);
    require(count_of(text, "<rect class=\"square") == drawn);
    require(count_of(text, "<rect class=\"subrectangle\"") == outlines.size());
    require(count_of(text, "</text>") == drawn);
    require(ends_with(text, "</svg>\n"));
}

// The TikZ document: one macro call per square of side 1 or more, each
// coordinate within the largest picture, 5000 mm, whatever the case's
// numbers (TeX could not hold larger lengths), and the document's end.
void check_tikz(const square_case& c)
{
    std::size_t drawn = 0;
    const std::string text = drawing(c, "tikz", drawn);
    std::size_t calls = 0;
    for (std::size_t at = text.find("\n  \\"); at != std::string::npos;
         at = text.find("\n  \\", at + 1)) {
        std::size_t arg = text.find_first_of("{\n", at + 1);
        if (text.compare(at + 3, 4, "\\sq{") != 0 && text.compare(at + 3, 5, "\\sqo{") != 0 &&
            text.compare(at + 3, 7, "\\named{") != 0) {
            continue;
        }
        ++calls;
        if (text.compare(at + 3, 7, "\\named{") == 0) arg = text.find('{', arg + 1);
        for (int coordinate = 0; coordinate < 4; ++coordinate) {
            require(text[arg] == '{');
            char* end = nullptr;
            const double mm = std::strtod(text.c_str() + arg + 1, &end);
            require(*end == '}' && mm >= -5000.001 && mm <= 5000.001);
            arg = static_cast<std::size_t>(end - text.c_str()) + 1;
        }
    }
    require(calls == drawn);
    require(ends_with(text, "\\end{tikzpicture}\n\\end{document}\n"));
}

// A dissection's canonical code reads back, as a catalogue line, to a
// dissection whose code is the same line.
void check_canonical(const square_case& c)
{
    canonical_scratch scratch;
    std::string code, problem;
    if (!append_canonical_line(c, scratch, code, problem)) return;
    require(!code.empty() && code.back() == '\n' && code.find('\n') == code.size() - 1);
    catalogue_reader reader(code, 1, 1);
    square_case again;
    catalogue_position where;
    require(reader.next(again, where));
    std::string twice;
    require(append_canonical_line(again, scratch, twice, problem));
    require(twice == code);
    // Its brackets are its rows, and it gives every side it counts.
    std::string warnings;
    std::vector<square_box> boxes;
    report_writing(again, {"code", 1, 1, true}, true, scratch.sky, boxes, warnings);
    require(warnings.empty());
}

// The warnings on how the case is written are one line each, naming the
// case's line.
void check_writing(const square_case& c, std::int64_t line)
{
    std::string warnings;
    skyline sky;
    std::vector<square_box> boxes;
    report_writing(c, {"f", 1, line, false}, true, sky, boxes, warnings);
    const std::string head = "squares2tex: f:" + std::to_string(line) + ": warning: ";
    for (std::size_t at = 0; at < warnings.size();) {
        require(warnings.compare(at, head.size(), head) == 0);
        at = warnings.find('\n', at) + 1;
        require(at != 0);
    }
    require((c.sides_given > c.count || !c.brackets.empty()) || warnings.empty());
}

// The PDF drawing: a label per square of side 1 or more, and a table whose
// every offset points at its object's first line.
void check_pdf(const square_case& c)
{
    std::size_t drawn = 0;
    const std::string text = drawing(c, "pdf", drawn);
    require(count_of(text, ")Tj ET\n") == drawn);
    require(ends_with(text, "%%EOF\n"));
    const std::size_t start = text.rfind("startxref\n");
    require(start != std::string::npos);
    const std::size_t table = std::strtoull(text.c_str() + start + 10, nullptr, 10);
    require(text.compare(table, 7, "xref\n0 ") == 0);
    char* end = nullptr;
    const std::size_t count = std::strtoull(text.c_str() + table + 7, &end, 10);
    std::size_t entry = static_cast<std::size_t>(end - text.c_str()) + 1 + 20;  // past entry 0
    for (std::size_t number = 1; number < count; ++number, entry += 20) {
        require(text.compare(entry + 10, 10, " 00000 n \n") == 0);
        const std::size_t offset = std::strtoull(text.c_str() + entry, nullptr, 10);
        const std::string opening = std::to_string(number) + " 0 obj\n";
        require(text.compare(offset, opening.size(), opening) == 0);
    }
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
    square_case c;
    try {
        std::int64_t line = 0;
        std::int64_t more_line = 0;
        c = read_case_from(stream.get(), &line, &more_line);
        require(more_line == 0 || more_line > line);
        check_writing(c, line);
        write_document(c, files);
        const std::string& text = files.files.at("squares.tex");
        require(count_lines(text) == 10 + 6 * c.sides.size());
        check_labels(text, c);
        require(ends_with(text, "  \\end{pspicture}\n\\end{document}\n"));
        check_svg(c);
        check_tikz(c);
        check_canonical(c);
        check_pdf(c);
    } catch (const placement_error&) {
        require(files.files.size() == 1 && files.files.at("squares.tex") == "previous");
        // The other formats draw the case up to the square that fails.
        check_svg(c);
        check_tikz(c);
        check_pdf(c);
    } catch (const conversion_error& e) {
        // A failed run leaves the previous document and nothing else.
        require(std::strlen(e.what()) > 0);
        require(files.files.size() == 1 && files.files.at("squares.tex") == "previous");
    }
    return 0;
}
