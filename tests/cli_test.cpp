// The built executable, run in a scratch directory: whole documents,
// standard output, exit status, and every class of failure.
#include "cli_fixture.h"

namespace {

TEST_F(Cli, WritesTheDocumentAndConfirms)
{
    keep_previous_document();
    const result r = convert("3 3 2 2 1 1\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, confirmation);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(document(), three_squares_document);
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "squares.tex"}));
}

TEST_F(Cli, NineSquareExample)
{
    fs::copy_file(fs::path(EXAMPLES_DIR) / "nine-squares.txt", work_ / "nine-squares.txt");
    const result r = run("nine-squares.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, confirmation);
    EXPECT_EQ(r.err, "");
    const std::string text = document();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10 + 6 * 9);
    EXPECT_NE(text.find("    \\rput(9.000000,23.000000){\\psscalebox{11.598955}{18}}\n"
                        "    \\psline[linewidth=0.1pt](0,32)(0,14)\n"),
              std::string::npos);
    EXPECT_NE(text.find("    \\rput(28.500000,4.500000){\\psscalebox{5.799477}{9}}\n"),
              std::string::npos);
}

TEST_F(Cli, ExtraArgumentsChangeNothing)
{
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    const result r = run("case.txt more.txt --flag");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, confirmation);
    EXPECT_EQ(document(), three_squares_document);
}

TEST_F(Cli, CaseFileNamedSquaresTexIsReplacedByTheDrawing)
{
    write_file(work_ / "squares.tex", "3 3 2\n2 1 1\n");
    const result r = run("squares.tex");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(document(), three_squares_document);
}

TEST_F(Cli, CountZeroGivesTheFrameAlone)
{
    const result r = convert("0 3 2 and nothing else matters");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, confirmation);
    const std::string text = document();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_NE(text.find("(0,0)(3,2)\n\n  \\end{pspicture}\n\\end{document}\n"), std::string::npos);
}

TEST_F(Cli, ByteOrderMarkAndCrLfLineEnds)
{
    const result r = convert(std::string("\xef\xbb\xbf") + "3 3 2\r\n2 1 1\r\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, confirmation);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(document(), three_squares_document);
}

TEST_F(Cli, NonDissectionStillSucceedsWithWarnings)
{
    const result r = convert("2 3 3 2 1");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, confirmation);
    EXPECT_EQ(r.err,
              "squares2tex: case.txt: warning: columns 0 to 1 end at depth 2, short of the bottom "
              "edge at depth 3\n"
              "squares2tex: case.txt: warning: column 2 ends at depth 1, short of the bottom edge "
              "at depth 3\n");
}

TEST_F(Cli, MissingArgument)
{
    keep_previous_document();
    expect_failure(run(""),
                   {"squares2tex: no case file given", "usage: squares2tex [OPTION]... CASE-FILE"},
                   2);
}

TEST_F(Cli, CaseFileMissingOrADirectory)
{
    keep_previous_document();
    expect_failure(
        run("absent.txt"),
        {"squares2tex: absent.txt: cannot open the case file: No such file or directory"});
    fs::create_directory(work_ / "folder");
    expect_failure(run("folder"),
                   {"squares2tex: folder: cannot read the case file: Is a directory"});
}

TEST_F(Cli, CaseFileUnreadable)
{
    const auto as_user = unprivileged();
    if (!as_user) GTEST_SKIP() << "running as root, and nobody cannot run the tool here";
    keep_previous_document();
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    fs::permissions(work_ / "case.txt", fs::perms::none);
    expect_failure(run("case.txt", *as_user),
                   {"case.txt: cannot open the case file: Permission denied"});
}

TEST_F(Cli, IllFormedValues)
{
    keep_previous_document();
    expect_failure(convert("3 3 2 2 1"), {"case.txt:1: the file ends after 2 of 3 sides"});
    expect_failure(convert("3 1 3\n1 1\n"), {"case.txt:2: the file ends after 2 of 3 sides"});
    expect_failure(convert("2 3 3 1.5 1"), {"case.txt:1: expected side 1 of 2, found \"1.5\""});
    expect_failure(convert("3 3 2\n2 one 1"), {"case.txt:2: expected side 2 of 3, found \"one\""});
    expect_failure(convert("1 3 2 99999999999"),
                   {"case.txt:1: side 1 of 1 is 99999999999, outside"});
    expect_failure(convert("-3 3 2"), {"case.txt:1: the count is -3; it must be 0 or more"});
    expect_failure(convert("0 0 2"), {"case.txt:1: the width is 0; it must be 1 or more"});
    expect_failure(convert("2000000000 3 2 1 1 1"),
                   {"case.txt:1: the file ends after 3 of 2000000000 sides; side 4 is missing"});
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "squares.tex"}));
}

TEST_F(Cli, SquaresThatDoNotFit)
{
    keep_previous_document();
    expect_failure(convert("2 4 4 2 3"),
                   {"case.txt: square 2 (side 3, column 2) overhangs the right edge"});
    expect_failure(
        convert("1 5 -2147483648 1"),
        {"case.txt: square 1 (side 1, column 0) would have its top edge at y = -2147483648"});
    expect_failure(convert("2 2147483647 0 2147483647 2147483647"),
                   {"case.txt: square 2 (side 2147483647, column 0)", "outside the 32-bit range"});
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "squares.tex"}));
}

TEST_F(Cli, DocumentCannotBeCreated)
{
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    fs::create_directory(work_ / "squares.tex");
    const result r = run("case.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("squares2tex: case.txt: cannot replace squares.tex:"), std::string::npos)
        << r.err;
    EXPECT_TRUE(fs::is_directory(work_ / "squares.tex"));
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "squares.tex"}));
}

TEST_F(Cli, WorkingDirectoryNotWritable)
{
    const auto as_user = unprivileged();
    if (!as_user) GTEST_SKIP() << "running as root, and nobody cannot run the tool here";
    keep_previous_document();
    // The previous document may be written: only the directory stands in the way.
    fs::permissions(work_ / "squares.tex", fs::perms::all);
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    fs::permissions(work_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    expect_failure(run("case.txt", *as_user),
                   {"case.txt: cannot create squares.tex: Permission denied"});
}

// Where no second thread can be started, large documents are still written
// whole. Only root can drop to a user whose process limit is reached.
TEST_F(Cli, LargeDocumentWithoutASecondThread)
{
    const auto as_user = unprivileged();
    if (geteuid() != 0 || !as_user) GTEST_SKIP() << "needs root, to run the tool as nobody";
    write_file(work_ / "case.txt", large_case);
    fs::permissions(work_, fs::perms::others_all, fs::perm_options::add);
    ASSERT_EQ(run("case.txt").status, 0);
    const std::string expected = document();
    ASSERT_GT(expected.size(), 600000u);
    fs::remove(work_ / "squares.tex");

    // The leak checker of a sanitized build needs a thread of its own at exit.
    const result r = run("case.txt", "ASAN_OPTIONS=detect_leaks=0 prlimit --nproc=1 " + *as_user);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, confirmation);
    EXPECT_EQ(document(), expected);
}

TEST_F(Cli, WriteFailsPastTheFileSizeLimit)
{
    keep_previous_document();
    // The limit (600 blocks of 512 or 1024 bytes) stops a later block.
    write_file(work_ / "case.txt", large_case);
    const result r = run("case.txt", "trap '' XFSZ; ulimit -f 600;");
    expect_failure(r, {"squares2tex: case.txt: cannot write squares.tex: File too large"});
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "squares.tex"}));
}

}  // namespace

namespace {

// Hostile inputs: each ends in a clean result or a clean error, quickly and
// in bounded memory.
class Hostile : public Cli {
protected:
    result timed_run(const std::string& arguments)
    {
        const auto start = std::chrono::steady_clock::now();
        result r = run(arguments);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(20));
        return r;
    }

    // The largest resident size of any child so far, in kilobytes.
    static long peak_child_kb()
    {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return usage.ru_maxrss;
    }
};

TEST_F(Hostile, HundredMegabytesOfWhiteSpace)
{
    keep_previous_document();
    {
        std::ofstream out(work_ / "case.txt", std::ios::binary);
        const std::string block(1 << 20, ' ');
        for (int i = 0; i < 100; ++i) out << block << (i % 2 == 0 ? "\n" : "\t");
    }
    expect_failure(timed_run("case.txt"),
                   {"squares2tex: case.txt: the file ends before the count\n"});
    EXPECT_LT(peak_child_kb(), 256 * 1024);
}

TEST_F(Hostile, MillionLeadingZeros)
{
    const result r = convert("1 3 2 " + std::string(1000000, '0') + "2");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(document().find("{\\psscalebox{14.176500}{2}}"), std::string::npos);
}

TEST_F(Hostile, NulBytesAndInvalidUtf8)
{
    keep_previous_document();
    expect_failure(convert(std::string("3 3 2\0\0 2 1 1", 13)),
                   {"case.txt:1: expected the height, found \"2\\x00\\x00\""});
    expect_failure(convert("3 3 2 2 1 \xc3\xa9\xff"),
                   {"case.txt:1: expected side 3 of 3, found \"\\xc3\\xa9\\xff\""});
}

TEST_F(Hostile, DevZeroAsTheCaseFile)
{
    keep_previous_document();
    expect_failure(timed_run("/dev/zero"),
                   {"squares2tex: /dev/zero:1: expected the count, found \"\\x00\\x00"});
}

TEST_F(Hostile, MissingFinalNewline)
{
    const result r = convert("3 3 2\n2 1\n1");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(document(), three_squares_document);
}

TEST_F(Hostile, CountAndWidthAtTheEdgeOfThirtyTwoBits)
{
    keep_previous_document();
    expect_failure(timed_run("case.txt"), {"cannot open the case file"});
    expect_failure(convert("2147483647 2147483647 0 1 2"),
                   {"case.txt:1: the file ends after 2 of 2147483647 sides; side 3 is missing"});
    EXPECT_LT(peak_child_kb(), 256 * 1024);
    expect_failure(convert("2147483648 1 1"), {"case.txt:1: the count is 2147483648, outside"});

    const result r = convert("1 2147483647 2147483647 2147483647");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(document().find("    \\rput(1073741823.500000,1073741823.500000)"),
              std::string::npos);
    EXPECT_NE(document().find("    \\psline[linewidth=0.1pt](0,2147483647)(0,0)\n"),
              std::string::npos);
}

}  // namespace
