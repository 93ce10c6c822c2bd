// Whole documents written through a file system in memory, and the
// document's behaviour when any write, close or replace fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "document/case_report.h"
#include "document/a4_fit.h"
#include "memory_files.h"
#include "cli/options.h"
#include "cli/output_guard.h"
#include "test_cases.h"

namespace {

TEST(Document, ThreeSquaresWholeDocument)
{
    memory_files fs;
    const auto warnings = write_document(make_case(3, 2, {2, 1, 1}), fs);
    EXPECT_TRUE(warnings.empty());
    ASSERT_EQ(fs.files.size(), 1u);
    EXPECT_EQ(fs.files.at("squares.tex"), three_squares_document);
}

TEST(Document, CaseWithoutSquaresIsTheTenLineFrame)
{
    memory_files fs;
    write_document(make_case(7, -4, {}), fs);
    EXPECT_EQ(fs.files.at("squares.tex"),
              "\\documentclass[a4paper]{article}\n"
              "  \\usepackage[left=2cm,right=2cm,top=2cm,bottom=2cm]{geometry}\n"
              "  \\usepackage{pstricks-add}\n"
              "\\begin{document}\n"
              "  \\thispagestyle{empty}\n"
              "  \\psset{unit=21.428571mm}\n"
              "  \\begin{pspicture}(0,0)(7,-4)\n"
              "\n"
              "  \\end{pspicture}\n"
              "\\end{document}\n");
}

TEST(Document, FirstBlockOfTheNineSquareCase)
{
    memory_files fs;
    write_document(make_case(33, 32, {18, 15, 7, 8, 14, 4, 10, 1, 9}), fs);
    const std::string& text = fs.files.at("squares.tex");
    EXPECT_NE(text.find("  \\psset{unit=4.545455mm}\n  \\begin{pspicture}(0,0)(33,32)\n\n"
                        "    \\rput(9.000000,23.000000){\\psscalebox{11.598955}{18}}\n"
                        "    \\psline[linewidth=0.1pt](0,32)(0,14)\n"
                        "    \\psline[linewidth=0.1pt](0,14)(18,14)\n"
                        "    \\psline[linewidth=0.1pt](18,14)(18,32)\n"
                        "    \\psline[linewidth=0.1pt](18,32)(0,32)\n\n"
                        "    \\rput(25.500000,24.500000){\\psscalebox{9.665795}{15}}\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10 + 6 * 9);
}

TEST(Document, SquaresBelowTheBottomGetNegativeCoordinates)
{
    memory_files fs;
    // Side 3 starts at top 2 (the height): its bottom is at -1, centre y 0.5.
    write_document(make_case(3, 2, {3}), fs);
    const std::string& text = fs.files.at("squares.tex");
    EXPECT_NE(text.find("\\rput(1.500000,0.500000)"), std::string::npos);
    EXPECT_NE(text.find("(0,2)(0,-1)\n"), std::string::npos);
    EXPECT_NE(text.find("(0,-1)(3,-1)\n"), std::string::npos);
}

TEST(Document, SideZeroAndNegativeSides)
{
    memory_files fs;
    write_document(make_case(10, 5, {0, -5}), fs);
    const std::string& text = fs.files.at("squares.tex");
    EXPECT_NE(text.find("    \\rput(0.000000,5.000000){\\psscalebox{0.000000}{0}}\n"
                        "    \\psline[linewidth=0.1pt](0,5)(0,5)\n"),
              std::string::npos);
    EXPECT_NE(text.find("    \\rput(-2.500000,7.500000){\\psscalebox{-21.264750}{-5}}\n"
                        "    \\psline[linewidth=0.1pt](0,5)(0,10)\n"
                        "    \\psline[linewidth=0.1pt](0,10)(-5,10)\n"),
              std::string::npos);
}

// The longest label scales (eighteen characters) come whole out of the
// cache of formatted scales, the first time and again.
TEST(Document, LongestScalesArePrintedWhole)
{
    memory_files fs;
    write_document(make_case(1, -1, {-2147483647 - 1, -2147483647 - 1}), fs);
    const std::string& text = fs.files.at("squares.tex");
    const std::string label = "{\\psscalebox{-45665702903.807999}{-2147483648}}\n";
    EXPECT_NE(text.find("    \\rput(-1073741824.000000,1073741823.000000)" + label),
              std::string::npos)
        << text;
    EXPECT_NE(
        text.find("    \\rput(-1073741824.000000,1073741823.000000)" + label, text.find(label) + 1),
        std::string::npos);
}

// On both sides of each limit the typesetting showed: the drawn width,
// the text height, the paper's bottom edge and TeX's largest length.
TEST(Document, A4PageLimits)
{
    const struct {
        std::int32_t width, height;
        std::int64_t lowest;
        const char* problem;  // a piece of it; empty: none
    } rows[] = {
        {100, 171, 0, ""},
        {100, 172, 0, "the picture is 258.0 mm high, more than the page's 257 mm"},
        {1000000, 1711509, 0, ""},
        {1000000, 1711510, 0, "more than the page's 257 mm"},
        {79596, 79596, 0, ""},
        {79597, 79597, 0, "0.001884 mm that a width of 79597 needs, and draws the picture 149.0"},
        {7000000, 1, 0, "draws the picture 75.1 mm wide instead of 150 mm"},
        {25000000, 1, 0, "unit of 0.000006 mm that a width of 25000000 needs as 0"},
        {1000000, 0, -1814635, ""},
        {1000000, 0, -1827955, "squares reach 278.0 mm below the top of the text"},
        {1000000, -1000000, -1000000, ""},
        {1000000, -1000000, -2000000, "squares reach 300.3 mm"},
        {10000000, 536870911, 0, "on the second, cut off"},
        {10000000, 536870912, 0, "TeX stops with \"Dimension too large\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        const std::string problem = a4_fit_problem(row.width, row.height, row.lowest);
        if (*row.problem == '\0') {
            EXPECT_EQ(problem, "");
        } else {
            EXPECT_NE(problem.find(row.problem), std::string::npos) << problem;
            EXPECT_EQ(problem.rfind("the A4 document does not show the picture as drawn: ", 0), 0u);
        }
    }
}

TEST(Document, AnExistingFileOfTheNameIsReplaced)
{
    memory_files fs;
    fs.files["squares.tex"] = "old";
    write_document(make_case(3, 2, {2, 1, 1}), fs);
    EXPECT_EQ(fs.files.at("squares.tex"), three_squares_document);
    EXPECT_EQ(fs.files.size(), 1u);
}

// A failure at any point must leave the previous document and nothing else.
void expect_failure_keeps_previous(memory_files& fs, const char* expected_message)
{
    fs.files["squares.tex"] = "previous";
    try {
        write_document(make_case(3, 2, {2, 1, 1}), fs);
        ADD_FAILURE() << "the run did not fail";
    } catch (const conversion_error& e) {
        EXPECT_NE(std::string(e.what()).find(expected_message), std::string::npos) << e.what();
    }
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_EQ(fs.files.at("squares.tex"), "previous");
    EXPECT_TRUE(fs.open_handles.empty());
}

TEST(DocumentFaults, WriteFailsAfterEveryByteCount)
{
    const std::size_t size = std::string(three_squares_document).size();
    for (std::size_t limit = 0; limit < size; ++limit) {
        SCOPED_TRACE(limit);
        memory_files fs;
        fs.write_limit = limit;
        expect_failure_keeps_previous(fs, "cannot write squares.tex: No space left on device");
    }
}

// A document several times the size of the write buffer: fail at its very
// start, on both sides of every buffer's worth, at random points and at the
// last byte.
TEST(DocumentFaults, LargeDocumentFailsAtAnyPoint)
{
    const square_case big = make_case(80, 50, std::vector<std::int32_t>(4000, 1));
    memory_files complete;
    write_document(big, complete);
    const std::string full = complete.files.at("squares.tex");
    ASSERT_GT(full.size(), 3u * (1u << 18));

    std::vector<std::size_t> limits = {0, 1, full.size() - 1};
    for (std::size_t edge = 1 << 18; edge < full.size(); edge += 1 << 18) {
        limits.insert(limits.end(), {edge - 1, edge, edge + 1});
    }
    std::mt19937 random(5);
    for (int i = 0; i < 40; ++i) limits.push_back(random() % full.size());

    for (const std::size_t limit : limits) {
        SCOPED_TRACE(limit);
        memory_files fs;
        fs.files["squares.tex"] = "previous";
        fs.write_limit = limit;
        EXPECT_THROW(write_document(big, fs), conversion_error);
        EXPECT_EQ(fs.files.size(), 1u);
        EXPECT_EQ(fs.files.at("squares.tex"), "previous");
        EXPECT_TRUE(fs.open_handles.empty());
    }
}

TEST(DocumentFaults, CreateCloseAndReplaceFailures)
{
    {
        memory_files fs;
        fs.fail_create = true;
        expect_failure_keeps_previous(fs, "cannot create squares.tex: Permission denied");
    }
    {
        memory_files fs;
        fs.fail_close = true;
        expect_failure_keeps_previous(fs, "cannot write squares.tex: Input/output error");
    }
    {
        memory_files fs;
        fs.fail_replace = true;
        expect_failure_keeps_previous(fs, "cannot replace squares.tex: Is a directory");
    }
}

TEST(DocumentFaults, RejectedSquareKeepsPreviousDocument)
{
    memory_files fs;
    fs.files["squares.tex"] = "previous";
    EXPECT_THROW(write_document(make_case(3, 2, {2, 2}), fs), conversion_error);
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_EQ(fs.files.at("squares.tex"), "previous");
}

// An input that is the regular file an output descriptor writes into is
// refused before reading; a terminal, pipe or other file never is.
TEST(OutputGuard, InputThatAnOutputDescriptorWrites)
{
    const struct {
        const char* input;
        const char* output;
        bool to_standard_output;
        int descriptor;        // open onto in.txt, or -1
        const char* refusal;   // empty: allowed
    } rows[] = {
        {"in.txt", "", true, 1, "the catalogue in.txt is also the output (standard output)"},
        {"in.txt", "", false, 1, ""},  // only the closing line goes to standard output
        {"in.txt", "/dev/fd/3", false, 3, "is also the output /dev/fd/3"},
        {"in.txt", "-", false, 1, "is also the output (standard output)"},
        {"in.txt", "/dev/stdout", true, 1, "is also the output (standard output)"},
        {"in.txt", "/dev/fd/3", true, 4, ""},
        {"other.txt", "/dev/fd/3", true, 3, ""},
        {"-", "", true, 0, ""},  // standard input is no regular file of output
        {"-", "in.txt", false, 0, "the catalogue (standard input) is also the output in.txt"},
        {"-", "other.txt", false, 0, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.input) + " -> " + row.output);
        memory_files fs;
        fs.files["in.txt"] = "9 33 32 18 15 7 8 14 4 10 1 9\n";
        fs.files["other.txt"] = "";
        if (row.descriptor >= 0) fs.descriptors[row.descriptor] = "in.txt";
        if (std::string(row.input) == "-") fs.descriptors[1] = "other.txt";
        try {
            refuse_input_as_descriptor(fs, row.input, row.output, row.to_standard_output,
                                       "the catalogue");
            EXPECT_STREQ(row.refusal, "");
        } catch (const usage_error& e) {
            EXPECT_NE(*row.refusal, '\0') << e.what();
            EXPECT_NE(std::string(e.what()).find(row.refusal), std::string::npos) << e.what();
        }
    }
}

}  // namespace
