// Reads arbitrary bytes as a catalogue to the end, and checks each entry
// against a plain model: the lines that are neither blank nor comments, in
// order, each read on its own as a case file gives the same case or the
// same message (with "the file ends" for "the line ends"). Cut into parts
// and batches as a catalogue run cuts it, the entries are the same. Each
// case read has one of the notations' shapes over the line's numbers, the
// plain count, width, height and sides whenever the line reads so.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue_input.h"
#include "reading/read_case.h"
#include "reading/read_catalogue.h"

namespace {

using file_ptr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

// fmemopen needs at least one byte; callers never pass an empty text.
file_ptr open_text(std::string& text)
{
    file_ptr stream(fmemopen(text.data(), text.size(), "r"), &std::fclose);
    require(stream != nullptr);
    return stream;
}

struct case_line {
    std::int64_t line;
    std::string text;
};

std::vector<case_line> model_case_lines(const std::string& text)
{
    std::vector<case_line> lines;
    std::size_t at = text.compare(0, 3, "\xef\xbb\xbf") == 0 ? 3 : 0;
    // LF, CR LF and a lone CR each end a line.
    for (std::int64_t line = 1; at <= text.size(); ++line) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        const std::string content = text.substr(at, end - at);
        const std::size_t first = content.find_first_not_of(" \t\v\f");
        if (first != std::string::npos && content[first] != '#') lines.push_back({line, content});
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The line alone as a case file: the case read, or the message. A blank in
// front keeps a byte-order mark there from counting as one at the start.
std::string read_alone(const std::string& line, square_case& c)
{
    std::string text = " " + line;
    file_ptr stream = open_text(text);
    try {
        c = read_case_from(stream.get());
    } catch (const conversion_error& e) {
        return e.what();
    }
    return {};
}

// The integers of a line up to its first other word, where its first
// bracket opens and closes (counted in values before them), and whether
// its first value stands inside a bracket.
struct plain_line {
    std::vector<std::int64_t> values;
    std::size_t open = std::string::npos;
    std::size_t close = std::string::npos;
    bool first_inside = false;
    // A first word "WxH": the width and height, the values after it.
    std::int64_t sized[2] = {0, 0};
};

// "WxH" with both 1 to 2^31 - 1, as a code's size without its count.
bool size_word(const std::string& word, std::int64_t size[2])
{
    const std::size_t x = word.find_first_of("xX");
    if (x == 0 || x == std::string::npos || x + 1 == word.size() || word.size() > 21) return false;
    for (int part = 0; part < 2; ++part) {
        const std::string digits = part == 0 ? word.substr(0, x) : word.substr(x + 1);
        if (digits.find_first_not_of("0123456789") != std::string::npos) return false;
        size[part] = std::strtoll(digits.c_str(), nullptr, 10);
        if (size[part] < 1 || size[part] > INT32_MAX) return false;
    }
    return true;
}

plain_line plain(const std::string& line)
{
    plain_line p;
    int depth = 0;
    for (std::size_t at = 0; at < line.size();) {
        const char ch = line[at];
        if (ch == '(' || ch == '[') {
            if (p.open == std::string::npos) p.open = p.values.size();
            ++depth;
        } else if (ch == ')' || ch == ']') {
            if (p.open != std::string::npos && p.close == std::string::npos)
                p.close = p.values.size();
            if (depth > 0) --depth;
        }
        if (std::string(" \t\v\f\r,{}()[]").find(ch) != std::string::npos) {
            ++at;
            continue;
        }
        const std::size_t end = line.find_first_of(" \t\v\f\r,{}()[]", at);
        const std::string word = line.substr(at, end - at);
        char* stop = nullptr;
        const long long value = std::strtoll(word.c_str(), &stop, 10);
        if (stop != word.c_str() + word.size() || value < INT32_MIN || value > INT32_MAX) {
            // A closing bracket before the first word is a separator, as a brace is.
            if (at != line.find_first_not_of(" \t\v\f\r,{})]") || !size_word(word, p.sized))
                break;
            at = end == std::string::npos ? line.size() : end;
            continue;
        }
        if (p.values.empty()) p.first_inside = depth > 0;
        p.values.push_back(value);
        at = end == std::string::npos ? line.size() : end;
    }
    return p;
}

bool sides_from(const plain_line& p, std::size_t first, const square_case& c)
{
    if (p.values.size() < first + c.sides.size()) return false;
    for (std::size_t i = 0; i < c.sides.size(); ++i)
        if (p.values[first + i] != c.sides[i]) return false;
    return true;
}

void check_shape(const std::string& line, const square_case& c)
{
    const plain_line p = plain(line);
    const std::vector<std::int64_t>& v = p.values;
    if (p.sized[0] > 0) {
        require(c.width == p.sized[0] && c.height == p.sized[1] && sides_from(p, 0, c) &&
                c.count == static_cast<std::int64_t>(c.sides.size()));
        return;
    }
    const bool listed = v.size() >= 3 && c.count == v[0] && c.width == v[1] && c.height == v[2] &&
                        sides_from(p, 3, c);
    // A first value inside a bracket begins a bare code; else a line reads
    // as before whenever it reads so, every value on it after the header
    // counted as given.
    if (!p.first_inside && v.size() >= 3 && v[0] >= 0 && v[1] >= 1 &&
        v.size() >= 3 + static_cast<std::size_t>(v[0])) {
        require(listed && c.sides_given == static_cast<std::int64_t>(v.size()) - 3);
        return;
    }
    require(c.sides_given == c.count);
    const bool square = p.open == 2 && c.count == v[0] && c.width == v[1] && c.height == v[1] &&
                        sides_from(p, 2, c);
    std::int64_t width = 0, area = 0;
    for (std::size_t i = 0; i < c.sides.size(); ++i) {
        if (i < p.close) width += c.sides[i];
        area += std::int64_t{c.sides[i]} * c.sides[i];
    }
    std::int64_t first = 0;
    for (std::size_t i = 0; i + 2 < p.close && i < c.sides.size(); ++i) first += c.sides[i];
    // Width and height, then the brackets, the first of them as wide as the code.
    const bool sized = p.open == 2 && v[0] == first && v[0] != v[1] && c.width == v[0] &&
                       c.height == v[1] && sides_from(p, 2, c);
    const bool bare = p.first_inside && sides_from(p, 0, c) && c.width == width &&
                      area == std::int64_t{c.width} * c.height;
    require(p.first_inside ? bare : listed || square || sized);
    require(c.caption.size() <= 1000 && c.caption.find_first_of("\n\r\t") == std::string::npos);
}

// An entry as "number@line: case" or "number@line: message".
std::string entry_text(const catalogue_position& where, const square_case& c,
                       const std::string& message)
{
    std::string text = std::to_string(where.number) + "@" + std::to_string(where.line) + ": ";
    if (!message.empty()) return text + message + "\n";
    text += std::to_string(c.count) + " " + std::to_string(c.width) + " " + std::to_string(c.height);
    for (const std::int32_t side : c.sides) text += " " + std::to_string(side);
    return text + "\n";
}

// The entries of the catalogue in `parts` parts, cut into batches of about
// `bytes` bytes with lines longer than `long_line` read ahead.
std::string batched_entries(const std::string& text, std::int64_t parts, std::size_t bytes,
                            std::size_t long_line, const std::vector<case_line>& expected)
{
    // A line held in its batch is given as it stands, from its first value
    // or bracket to its line end.
    const auto given = [&](const catalogue_position& where) {
        require(where.number >= 1 && where.number <= static_cast<std::int64_t>(expected.size()));
        std::string line = expected[static_cast<std::size_t>(where.number - 1)].text;
        if (line.size() >= long_line) return;
        line.erase(0, line.find_first_not_of(" \t\v\f\r"));
        while (!line.empty() && line.back() == '\r') line.pop_back();
        require(where.text == line);
    };
    file_ptr file(std::tmpfile(), &std::fclose);
    require(file != nullptr);
    require(std::fwrite(text.data(), 1, text.size(), file.get()) == text.size());
    std::string seen;
    for (std::int64_t k = 1; k <= parts; ++k) {
        std::rewind(file.get());
        catalogue_input input(file.get(), {k, parts}, long_line);
        catalogue_batch_text batch;
        while (input.next(batch, bytes, 2)) {
            read_batch(
                batch,
                [&](const square_case& c, const catalogue_position& where) {
                    given(where);
                    seen += entry_text(where, c, "");
                },
                [&](const catalogue_position& where, std::int64_t, const std::string& message) {
                    given(where);
                    seen += entry_text(where, square_case{}, message);
                });
        }
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<case_line> expected = model_case_lines(text);
    if (text.empty()) text = " ";
    file_ptr stream = open_text(text);

    catalogue_reader reader(stream.get());
    square_case c;
    std::size_t entries = 0;
    std::string streamed;
    for (;;) {
        catalogue_position where;
        std::string message;
        try {
            if (!reader.next(c, where)) break;
            require(c.count >= 0 && c.width >= 1);
            require(c.sides.size() == static_cast<std::size_t>(c.count));
        } catch (const conversion_error& e) {
            message = e.what();
            require(!message.empty() && e.line == where.line);
        }
        streamed += entry_text(where, c, message);
        require(entries < expected.size());
        const case_line& model = expected[entries];
        require(where.number == static_cast<std::int64_t>(entries) + 1);
        require(where.line == model.line);

        square_case alone;
        const std::string alone_message = read_alone(model.text, alone);
        const std::string line_ends = "the line ends";
        if (message.compare(0, line_ends.size(), line_ends) == 0) {
            message.replace(0, line_ends.size(), "the file ends");
        }
        require(message == alone_message);
        if (message.empty()) {
            require(c.count == alone.count && c.width == alone.width && c.height == alone.height &&
                    c.sides == alone.sides && c.caption == alone.caption);
            check_shape(model.text, c);
        }
        ++entries;
    }
    require(entries == expected.size());
    // The cut depends on the first byte, so the fuzzer varies it too.
    const auto first = static_cast<unsigned char>(text[0]);
    require(batched_entries(text, 1 + first % 4, 1 + first / 4 % 8 * 9, 1 + first / 32 * 5,
                            expected) == streamed);
    return 0;
}
