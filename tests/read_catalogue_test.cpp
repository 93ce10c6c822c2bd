// Reading catalogues: one case per line, comments, notes, and errors that
// cost one line only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "catalogue/catalogue_input.h"
#include "catalogue/progress.h"
#include "reading/read_catalogue.h"

namespace {

using file_ptr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Every entry as "number@line: count width height sides" or
// "number@line: message", one per line.
std::string entries(std::FILE* stream)
{
    catalogue_reader reader(stream);
    std::string seen;
    square_case c;
    for (int calls = 0; calls < 1000; ++calls) {
        catalogue_position where;
        std::string entry;
        try {
            if (!reader.next(c, where)) return seen;
            entry = std::to_string(c.count) + " " + std::to_string(c.width) + " " +
                    std::to_string(c.height);
            EXPECT_EQ(c.sides.size(), static_cast<std::size_t>(c.count));
            for (const std::int32_t side : c.sides) entry += " " + std::to_string(side);
        } catch (const conversion_error& e) {
            EXPECT_EQ(e.line, where.line) << e.what();
            entry = e.what();
        }
        seen +=
            std::to_string(where.number) + "@" + std::to_string(where.line) + ": " + entry + "\n";
    }
    ADD_FAILURE() << "no end after 1000 calls";
    return seen;
}

std::string entry_text(const catalogue_position& where, const std::string& entry)
{
    return std::to_string(where.number) + "@" + std::to_string(where.line) + ": " + entry + "\n";
}

// The entries of part `part`, cut into batches as a catalogue run cuts them.
std::string batched_entries(std::FILE* stream, const catalogue_part& part, std::size_t bytes,
                            std::size_t long_line)
{
    std::rewind(stream);
    catalogue_input input(stream, part, long_line);
    catalogue_batch_text batch;
    std::string seen;
    while (input.next(batch, bytes, 3)) {
        read_batch(
            batch,
            [&](const square_case& c, const catalogue_position& where) {
                std::string entry = std::to_string(c.count) + " " + std::to_string(c.width) + " " +
                                    std::to_string(c.height);
                for (const std::int32_t side : c.sides) entry += " " + std::to_string(side);
                seen += entry_text(where, entry);
            },
            [&](const catalogue_position& where, std::int64_t line, const std::string& message) {
                EXPECT_EQ(line, where.line) << message;
                seen += entry_text(where, message);
            });
        if (!batch.failure.empty()) seen += "failure: " + batch.failure + "\n";
    }
    return seen;
}

// The entries read as a stream; batches of any size, lines read ahead at
// any length and parts put together again must give the same.
std::string entries(const std::string& text)
{
    file_ptr file(std::tmpfile(), &std::fclose);
    std::fwrite(text.data(), 1, text.size(), file.get());
    std::rewind(file.get());
    const std::string seen = entries(file.get());
    const struct {
        std::int64_t parts;
        std::size_t bytes, long_line;
    } cuts[] = {{1, 1, 4 << 20}, {1, 100, 10}, {2, 7, 4 << 20}, {5, 1 << 20, 30}, {40, 1, 4}};
    for (const auto& cut : cuts) {
        std::string parts;
        for (std::int64_t k = 1; k <= cut.parts; ++k)
            parts += batched_entries(file.get(), {k, cut.parts}, cut.bytes, cut.long_line);
        EXPECT_EQ(parts, seen) << cut.parts << " parts, batches of " << cut.bytes
                               << " bytes, lines read ahead past " << cut.long_line;
    }
    return seen;
}

TEST(ReadCatalogue, OneCasePerLine)
{
    const std::string text =
        "\xef\xbb\xbf# a catalogue\r\n"
        "3 3 2 2 1 1 three squares, (2, 1) on top\r\n"
        "\n"
        "  \t\r\v\f\n"
        "\t # a comment after blanks\n"
        "9,33,32 [18,15] (7,8) 14 4 10 1 9\n"
        "0 5 -5 2 3x\n"
        "1 1 1 1";
    EXPECT_EQ(entries(text),
              "1@2: 3 3 2 2 1 1\n"
              "2@7: 9 33 32 18 15 7 8 14 4 10 1 9\n"
              "3@8: 0 5 -5\n"
              "4@9: 1 1 1 1\n");
    for (const char* empty : {"", "\xef\xbb\xbf", "\n# only comments\n  \n"})
        EXPECT_EQ(entries(empty), "") << empty;
}

// LF, CR LF and a lone CR each end a line, CR LF once also when a block
// ends between its two bytes (65,536 bytes, a block of either reader).
TEST(ReadCatalogue, EveryLineEnd)
{
    const std::string nine = "9 33 32 18 15 7 8 14 4 10 1 ";
    const std::string padded = "1 1 1 1" + std::string(65535 - 7, ' ');
    const std::pair<std::string, std::string> rows[] = {
        {nine + "9\r" + nine + "8\r",
         "1@1: 9 33 32 18 15 7 8 14 4 10 1 9\n2@2: 9 33 32 18 15 7 8 14 4 10 1 8\n"},
        {"1 1 1 1\r\r# c\r\n\r 2 2 1 1 1", "1@1: 1 1 1 1\n2@5: 2 2 1 1 1\n"},
        {"1 1 1\r3 3\r\n", "1@1: the line ends after 0 of 1 sides; side 1 is missing\n"
                           "2@2: the line ends before the height\n"},
        {"1 1 1 1 * a caption\r2 2 1 1 1\r", "1@1: 1 1 1 1\n2@2: 2 2 1 1 1\n"},
        {padded + "\r\n2 2 1 1 1\r\n", "1@1: 1 1 1 1\n2@2: 2 2 1 1 1\n"},
        {padded + "\r\r\n2 2 1 1 1", "1@1: 1 1 1 1\n2@3: 2 2 1 1 1\n"},
        {"# " + padded + "\r\n2 2 1 1 1\r", "1@2: 2 2 1 1 1\n"},
    };
    for (const auto& [text, seen] : rows) {
        EXPECT_EQ(entries(text), seen) << text.substr(0, 40);
        line_tally tally;
        for (std::size_t at = 0; at < text.size(); at += 65536) tally.feed(text.substr(at, 65536));
        EXPECT_EQ(tally.cases, static_cast<std::int64_t>(std::count(seen.begin(), seen.end(), '@')));
    }
}

// A bad line reports the same words as a case file, with "the line ends" for
// "the file ends", and the next line is read as if nothing had happened.
TEST(ReadCatalogue, BadLineCostsThatLineOnly)
{
    const std::pair<std::string, std::string> lines[] = {
        {"3 3", "the line ends before the height"},
        {"3 3 2 2 1", "the line ends after 2 of 3 sides; side 3 is missing"},
        {"2000000000 3 2 1 1 1", "the line ends after 3 of 2000000000 sides; side 4 is missing"},
        {"( , )",
         "the brackets hold no number: expected the sides of a code, or count, width and "
         "height before them"},
        {"-1 3 2", "the count is -1; it must be 0 or more"},
        {"1 0 2 1", "the width is 0; it must be 1 or more"},
        {"1 3 2 1.5 1 1 1", "expected side 1 of 1, found \"1.5\""},
        {"x # not a comment", "expected the count, found \"x\""},
        {"1 3 -2147483649 1",
         "the height is -2147483649, outside the 32-bit range -2147483648 to 2147483647"},
        {std::string("\xef\xbb\xbf") + "1 1 1 1", "expected the count, found \"\\xef\\xbb\\xbf1\""},
    };
    for (const auto& [line, message] : lines) {
        EXPECT_EQ(entries("1 1 1 1\n# c\n" + line + " \r\n\n2 2 1 1 1\n"),
                  "1@1: 1 1 1 1\n2@3: " + message + "\n3@5: 2 2 1 1 1\n")
            << line;
    }
}

TEST(ReadCatalogue, LinesLongerThanABlock)
{
    std::string sevens;
    for (int i = 0; i < 20000; ++i) sevens += " 7";
    EXPECT_EQ(entries("20000 1 1" + sevens + " and a note " + std::string(100000, 'n') + "\n" +
                      std::string(70000, ' ') + "0 1 1\n2 1 1 1 " + std::string(70000, '1') +
                      " 1\n1 1 1 5"),
              "1@1: 20000 1 1" + sevens + "\n2@2: 0 1 1\n3@3: side 2 of 2 is " +
                  std::string(24, '1') +
                  "..., outside the 32-bit range -2147483648 to 2147483647\n4@4: 1 1 1 5\n");
}

TEST(ReadCatalogue, FailedReadEndsTheCatalogue)
{
    file_ptr directory(std::fopen("/", "r"), &std::fclose);
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(entries(directory.get()), "0@0: cannot read the catalogue: Is a directory\n");
    EXPECT_EQ(batched_entries(directory.get(), {1, 1}, 100, 10),
              "failure: cannot read the catalogue: Is a directory\n");
}

// The progress line: the share done and the time left when the size is known.
TEST(Progress, ShareDoneAndTimeLeft)
{
    const struct {
        std::int64_t cases;
        double seconds;
        std::int64_t done, total;
        const char* line;
    } rows[] = {
        {5000, 2.0, 100, -1, "squares2tex: 5000 cases, 2500 a second"},
        {5000, 2.0, 0, 1000, "squares2tex: 5000 cases, 2500 a second"},
        {5000, 2.0, 250, 1000, "squares2tex: 5000 cases, 2500 a second, 25%, 0:06 left"},
        {7, 1.5, 1, 1000, "squares2tex: 7 cases, 4 a second, 0%, 24:59 left"},
        {9, 60.0, 10, 1000, "squares2tex: 9 cases, 0 a second, 1%, 1:39:00 left"},
        {9, 3.0, 1200, 1000, "squares2tex: 9 cases, 3 a second, 100%, 0:00 left"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(progress_line(row.cases, row.seconds, row.done, row.total), row.line);
}

}  // namespace
