// Reading case files: whole-word values, pasted codes, and every way a file can be ill-formed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "document/case_report.h"
#include "reading/read_case.h"

namespace {

square_case read_text(const std::string& text, std::int64_t* more_line = nullptr)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    std::fwrite(text.data(), 1, text.size(), file.get());
    std::rewind(file.get());
    return read_case_from(file.get(), nullptr, more_line);
}

// The message and line of the failure, or "read" when the case is accepted.
std::string failure(const std::string& text)
{
    try {
        read_text(text);
    } catch (const conversion_error& e) {
        return std::to_string(e.line) + ": " + e.what();
    }
    return "read";
}

using sides = std::vector<std::int32_t>;

TEST(ReadCase, NineSquareCase)
{
    const square_case c = read_text("9 33 32 18 15 7 8 14 4 10 1 9\n");
    EXPECT_EQ(c.count, 9);
    EXPECT_EQ(c.width, 33);
    EXPECT_EQ(c.height, 32);
    EXPECT_EQ(c.sides, (sides{18, 15, 7, 8, 14, 4, 10, 1, 9}));
}

TEST(ReadCase, AnyWhiteSpaceSeparatesValues)
{
    const square_case c = read_text("\r\n\t 3\v3\f2\r\n\n2   \t1\n1");
    EXPECT_EQ(c.sides, (sides{2, 1, 1}));
}

TEST(ReadCase, SignsAndLeadingZeros)
{
    const square_case c = read_text("3 +0003 -0 -5 +7 000");
    EXPECT_EQ(c.width, 3);
    EXPECT_EQ(c.height, 0);
    EXPECT_EQ(c.sides, (sides{-5, 7, 0}));
    EXPECT_EQ(read_text("1 1 1 " + std::string(1000000, '0') + "42").sides, (sides{42}));
}

TEST(ReadCase, NothingAfterTheLastSideIsRead)
{
    EXPECT_EQ(read_text("2 3 2 2 1 1 9 and more text \x01\xff").sides, (sides{2, 1}));
    EXPECT_EQ(read_text("1 3 2 7]x").sides, (sides{7}));
    EXPECT_EQ(read_text("1 3 2 7(\xff").sides, (sides{7}));
    EXPECT_EQ(read_text("0 3 2 whatever").sides, (sides{}));
}

TEST(ReadCase, ThirtyTwoBitLimits)
{
    const square_case c = read_text("2 2147483647 -2147483648 2147483647 -2147483648");
    EXPECT_EQ(c.width, 2147483647);
    EXPECT_EQ(c.height, -2147483647 - 1);
    EXPECT_EQ(c.sides, (sides{2147483647, -2147483647 - 1}));
}

TEST(ReadCase, PastedCodesWithBracketsAndCommas)
{
    const square_case plain = read_text("9 33 32 18 15 7 8 14 4 10 1 9");
    EXPECT_EQ(read_text("9 33 32 (18,15)(7,8)(14,4)(10,1)(9)").sides, plain.sides);
    EXPECT_EQ(read_text("9 33 32\n[18, 15], [7, 8, 14], [4, 10, 1, 9]\n").sides, plain.sides);
    EXPECT_EQ(read_text("9,33,32,18,15,7,8,14,4,10,1,9").sides, plain.sides);
}

TEST(ReadCaseErrors, TextWhereAValueIsDue)
{
    EXPECT_EQ(failure("abc"), "1: expected the count, found \"abc\"");
    EXPECT_EQ(failure("3 3\n2\n2 x1 1"), "3: expected side 2 of 3, found \"x1\"");
    EXPECT_EQ(failure("3 3 2 2 1 - 1"), "1: expected side 3 of 3, found \"-\"");
    EXPECT_EQ(failure("3 3 2 2 1 +-1"), "1: expected side 3 of 3, found \"+-1\"");
    EXPECT_EQ(failure("3 3 2 2 1 <1>"), "1: expected side 3 of 3, found \"<1>\"");
    EXPECT_EQ(failure("3 3 2 2 1.5 7"), "1: expected side 2 of 3, found \"1.5\"");
    EXPECT_EQ(failure("1 3 2 " + std::string(100, 'z')),
              "1: expected side 1 of 1, found \"zzzzzzzzzzzzzzzzzzzzzzzz...\"");
}

TEST(ReadCase, ByteOrderMarkAtTheVeryStartIsSkipped)
{
    const std::string mark = "\xef\xbb\xbf";
    EXPECT_EQ(read_text(mark + "1 3 2 7\n").sides, (sides{7}));
    EXPECT_EQ(read_text(mark + "0\n3 2").width, 3);
    const std::pair<std::string, std::string> cases[] = {
        {mark, "0: the file ends before the count"},
        {mark + mark + "1", "1: expected the count, found \"\\xef\\xbb\\xbf1\""},
        {" " + mark + "1 3 2 7", "1: expected the count, found \"\\xef\\xbb\\xbf1\""},
        {"1 3 2\n" + mark + "7", "2: expected side 1 of 1, found \"\\xef\\xbb\\xbf7\""},
        {"\xef\xbb", "1: expected the count, found \"\\xef\\xbb\""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failure(text), expected) << text;
}

// An integer ends at a separator or at the end of the file; any other byte
// makes the whole word, up to the next separator, the offending text.
TEST(ReadCaseErrors, ValueIsAWholeWord)
{
    // The 7 is the last byte of the reader's first block, the x the first of the next.
    const std::string across_blocks = "1 3 2" + std::string((1 << 16) - 6, ' ') + "7x";
    const std::pair<std::string, std::string> cases[] = {
        {"1 3 3 3.9", "1: expected side 1 of 1, found \"3.9\""},
        {"1 1 1 1x", "1: expected side 1 of 1, found \"1x\""},
        {"2 3 3 1.5 1", "1: expected side 1 of 2, found \"1.5\""},
        {"1 3 2 7x", "1: expected side 1 of 1, found \"7x\""},
        {"3x 3 2", "1: expected the count, found \"3x\""},
        {"1 3\n-2;", "2: expected the height, found \"-2;\""},
        {"1 3 2 7\\", "1: expected side 1 of 1, found \"7\\x5c\""},
        {std::string("1 3 2 7\0", 8), "1: expected side 1 of 1, found \"7\\x00\""},
        {"1 2147483648x 2 1", "1: expected the width, found \"2147483648x\""},
        {"1 3 2 +" + std::string(30, '1') + "e3",
         "1: expected side 1 of 1, found \"+" + std::string(24, '1') + "...\""},
        {across_blocks, "1: expected side 1 of 1, found \"7x\""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(failure(text), expected) << text;
}

TEST(ReadCaseErrors, BytesThatAreNotTextAreShownEscaped)
{
    EXPECT_EQ(failure(std::string("1 3 2 \0\xff\"", 9)),
              "1: expected side 1 of 1, found \"\\x00\\xff\\x22\"");
}

TEST(ReadCaseErrors, ValuesOutsideThirtyTwoBits)
{
    EXPECT_EQ(failure("1 2147483648 2 1"),
              "1: the width is 2147483648, outside the 32-bit range -2147483648 to 2147483647");
    EXPECT_EQ(failure("1 3 -2147483649 1"),
              "1: the height is -2147483649, outside the 32-bit range -2147483648 to 2147483647");
    EXPECT_EQ(failure("1 3 2\n\n4294967297"),
              "3: side 1 of 1 is 4294967297, outside the 32-bit range -2147483648 to 2147483647");
    EXPECT_EQ(failure("1 3 2 " + std::string(1000000, '9')),
              "1: side 1 of 1 is 999999999999999999999999..., outside the 32-bit range "
              "-2147483648 to 2147483647");
}

TEST(ReadCaseErrors, CountAndWidthOutOfBounds)
{
    EXPECT_EQ(failure("-1 3 2"), "1: the count is -1; it must be 0 or more");
    EXPECT_EQ(failure("0\n0 2"), "2: the width is 0; it must be 1 or more");
    EXPECT_EQ(failure("0 -7 2"), "1: the width is -7; it must be 1 or more");
}

TEST(ReadCaseErrors, FileEndsEarly)
{
    // The line of the last value read, or none when there was no value.
    EXPECT_EQ(failure(""), "0: the file ends before the count");
    EXPECT_EQ(failure(" \n\r\n\t{\n"), "0: the file ends before the count");
    EXPECT_EQ(failure("3 3\n\n\n"), "1: the file ends before the height");
    EXPECT_EQ(failure("3 1 3\n1 1\n"), "2: the file ends after 2 of 3 sides; side 3 is missing");
    EXPECT_EQ(failure("3 3 2 2 1\n"), "1: the file ends after 2 of 3 sides; side 3 is missing");
    // A lone CR ends a line as LF and CR LF do.
    EXPECT_EQ(failure("3 3 2\r2 1\r\n\r"), "2: the file ends after 2 of 3 sides; side 3 is missing");
    EXPECT_EQ(failure("3 3 2\r\r\n2\r1 x"), "4: expected side 3 of 3, found \"x\"");
    EXPECT_EQ(failure("2000000000 3 2 1 1 1"),
              "1: the file ends after 3 of 2000000000 sides; side 4 is missing");
}

TEST(ReadCaseErrors, MissingFileAndDirectory)
{
    try {
        read_case("/nonexistent/case.txt");
        ADD_FAILURE();
    } catch (const conversion_error& e) {
        EXPECT_EQ(std::string(e.what()), "cannot open the case file: No such file or directory");
    }
    try {
        read_case("/");
        ADD_FAILURE();
    } catch (const conversion_error& e) {
        EXPECT_EQ(std::string(e.what()), "cannot read the case file: Is a directory");
    }
}

// Every notation and what it reads as: "count width height: sides * caption",
// or the line and message of an unreadable one.
TEST(ReadCase, Notations)
{
    const std::string sides21 = "50 35 27 8 19 15 17 11 6 24 29 25 9 2 7 18 16 42 4 37 33";
    const std::string code21 =
        "(50,35,27)(8,19)(15,17,11)(6,24)(29,25,9,2)(7,18)(16)(42)(4,37)(33)";
    const std::string read21 = "21 112 112: " + sides21 + " * ";
    const std::pair<std::string, std::string> rows[] = {
        {"21 112 112 " + code21, read21},
        {"21 112 " + code21, read21},
        {code21 + "\n", read21},
        {"[50, 35, 27], [8, 19], [15, 17, 11], [6, 24], [29, 25, 9, 2], [7, 18], [16], [42], "
         "[4, 37], [33] order 21, 1978",
         read21},
        {"{21,112,112," + sides21 + "}", read21},
        {"9 69 61 (36,33)(5,28)(25,9,2)(7)(16) * 9a 1925 \r\n",
         "9 69 61: 36 33 5 28 25 9 2 7 16 * 9a 1925"},
        {"(36,33)(5,28)\n(25,9,2)(7)(16)*\t9a\x01\xc3\xa9 ",
         "9 69 61: 36 33 5 28 25 9 2 7 16 * 9a\\x01\xc3\xa9"},
        {"(2,1)(1) 5 * not after the last side", "3 3 2: 2 1 1 * "},
        {"3 3 2 2 1 1\n* on the next line", "3 3 2: 2 1 1 * "},
        {"1 1 1 1 *" + std::string(2000, 'x'), "1 1 1: 1 * " + std::string(1000, 'x')},
        // A first value inside a bracket begins a bare code, even where
        // count, width and height would read; numbers first read as before.
        {"(5,7)(5)(5,2)(2)(1,1,1,2)(1,1,1)(1,1)",
         "15 12 12: 5 7 5 5 2 2 1 1 1 2 1 1 1 1 1 * "},
        {"(1,1)(1,1)", "4 2 2: 1 1 1 1 * "},
        {"[3 3 2] 2 1 1",
         "1: the squares' area 22 is not a multiple of the width 8 (the sum of the first "
         "bracket)"},
        {"() 3 3 2 2 1 1", "3 3 2: 2 1 1 * "},
        {"3 3 (2 2 1 1)", "3 3 2: 2 1 1 * "},
        {"2 2 (1,1)(1,1)", "2 2 1: 1 1 *  ! 2 sides expected, 3 given; those past side 2 are not read"},
        // Sides past the count, brackets off the rows, more codes after the case.
        {"9 33 32 (18,15)(7,8)(14,4)(10,1)(9)(3)(5)",
         "9 33 32: 18 15 7 8 14 4 10 1 9 *  ! 9 sides expected, 11 given; those past side 9 are not read"},
        {"9 33 32 (18)(15,7)(8,14,4)(10)(1,9) * x",
         "9 33 32: 18 15 7 8 14 4 10 1 9 * x ! bracket 1, (18), does not hold the squares of one "
         "row; by rows the sides are (18,15)(7,8)(14,4)(10,1)(9)"},
        {"(18,15)(7,8,14)(4,10,1,9)",
         "9 33 32: 18 15 7 8 14 4 10 1 9 *  ! bracket 2, (7,8,14), does not hold the squares of "
         "one row; by rows the sides are (18,15)(7,8)(14,4)(10,1)(9)"},
        {"9 33 32 18 15 7 8 14 4 10 1 9 3 5 * x",
         "9 33 32: 18 15 7 8 14 4 10 1 9 *  ! 9 sides expected, 11 given; those past side 9 are not read"},
        {"3 3 2 2 1 1 (1, 2\n# 4\nnote\n\n (1)", "3 3 2: 2 1 1 *  ! more at 5 ! 3 sides expected, 5 given; those past side 3 are not read"},
        {"3 3 2\n2 1 1\n3 3 2 2 1 1\n", "3 3 2: 2 1 1 *  ! more at 3"},
        {"21 " + code21,
         "1: one number before the first bracket: expected count, width and height, "
         "the order and side of a squared square, or no number"},
        {"\n( , )",
         "2: the brackets hold no number: expected the sides of a code, or count, width "
         "and height before them"},
        {"()(3)", "1: the first bracket holds no side; its sides make the width"},
        {"(50,35,27)(8,19,1)",
         "1: the squares' area 4880 is not a multiple of the width 112 (the sum of the first "
         "bracket)"},
        {"(50,x)", "1: expected side 2, found \"x\""},
        {"(5, 99999999999)",
         "1: side 2 is 99999999999, outside the 32-bit range -2147483648 to 2147483647"},
        {"(3,0)", "1: side 2 is 0; the sides of a code without its size must be 1 or more"},
        {"(2147483647,1)",
         "1: the sides in the first bracket add up to more than 2147483647, the "
         "widest rectangle"},
        {"(1)(2147483647)",
         "1: the squares' area is more than the width 1 times 2147483647: the "
         "height would leave the 32-bit range"},
        {"21 112 " + code21.substr(0, code21.size() - 4) + " * x",
         "1: expected side 21 of 21, found \"*\""},
        {"3 3 (2 1)", "1: the file ends after 2 of 3 sides; side 3 is missing"},
        // Width and height before the brackets, as a number pair or WxH.
        {"33 32 (18,15)(7,8)(14,4)(10,1)(9) * a", "9 33 32: 18 15 7 8 14 4 10 1 9 * a"},
        {"33X32 (18,15)(7,8)(14,4)(10,1)(9) 5", "9 33 32: 18 15 7 8 14 4 10 1 9 * "},
        {"4x3\n(2,2)(2,2)", "4 4 3: 2 2 2 2 * "},
        {"33x32 18 15", "1: expected the sides in brackets after 33x32"},
        {"0x32 (1)", "1: expected the count, found \"0x32\""},
        {"33x32 (18,x)", "1: expected side 2, found \"x\""},
        {"(33x32 1)", "1: expected side 1, found \"33x32\""},
    };
    for (const auto& [text, expected] : rows) {
        std::string seen = failure(text);
        if (seen == "read") {
            std::int64_t more_line = 0;
            const square_case c = read_text(text, &more_line);
            seen = std::to_string(c.count) + " " + std::to_string(c.width) + " " +
                   std::to_string(c.height) + ":";
            for (const std::int32_t side : c.sides) seen += " " + std::to_string(side);
            seen += " * " + c.caption;
            if (more_line > 0) seen += " ! more at " + std::to_string(more_line);
            std::string warnings;
            skyline sky;
            std::vector<square_box> boxes;
            report_writing(c, {"f", 1, 1, true}, true, sky, boxes, warnings);
            const std::string prefix = "squares2tex: f:1: warning: ";
            for (std::size_t at = 0; (at = warnings.find(prefix, at)) != std::string::npos;)
                warnings.replace(at, prefix.size(), " ! ");
            warnings.erase(std::remove(warnings.begin(), warnings.end(), '\n'), warnings.end());
            seen += warnings;
        }
        EXPECT_EQ(seen, expected) << text;
    }
}

}  // namespace
