// The built executable, run in a scratch directory: whole documents,
// standard output, exit status, and every class of failure.
#include "cli_fixture.h"

namespace {

// 3000 squares of side 1 in a 60 x 50 rectangle: a document of about
// 700 kB, written in several blocks.
const std::string large_case = [] {
    std::string text = "3000 60 50";
    for (int i = 0; i < 3000; ++i) text += " 1";
    return text;
}();

// Each case is drawn with the confirmation and its warnings only, into a
// document of its squares holding every piece (or the whole one given), with
// no other file left. The first replaces a previous document; a case file
// may be squares.tex itself.
TEST_F(Cli, DrawsTheCase)
{
    const std::string byte_order_mark = "\xef\xbb\xbf";
    const struct {
        std::string arguments, text;
        std::vector<std::string> warnings;
        long squares;  // drawn in 6 lines each, after 10 of frame
        std::vector<std::string> pieces;
        std::string whole = "";
    } rows[] = {
        {"case.txt", "3 3 2 2 1 1\n", {}, 3, {}, three_squares_document},
        {"case.txt more.txt --flag -",
         "3 3 2 2 1 1",
         {"squares2tex: warning: '--flag' after the case file is ignored; options go before the "
          "case file"},
         3,
         {},
         three_squares_document},
        {"squares.tex", "3 3 2\n2 1 1\n", {}, 3, {}, three_squares_document},
        {"case.txt", byte_order_mark + "3 3 2\r\n2 1 1\r\n", {}, 3, {}, three_squares_document},
        {"case.txt", "3 3 2\n2 1\n1", {}, 3, {}, three_squares_document},
        {"nine-squares.txt",
         read_file(fs::path(EXAMPLES_DIR) / "nine-squares.txt"),
         {},
         9,
         {"    \\rput(9.000000,23.000000){\\psscalebox{11.598955}{18}}\n"
          "    \\psline[linewidth=0.1pt](0,32)(0,14)\n",
          "    \\rput(28.500000,4.500000){\\psscalebox{5.799477}{9}}\n"}},
        {"case.txt",
         "0 3 2 and nothing else matters",
         {"columns 0 to 2 end at depth 0, short of the bottom edge at depth 2"},
         0,
         {"(0,0)(3,2)\n\n  \\end{pspicture}\n\\end{document}\n"}},
        {"case.txt",
         "2 3 3 2 1",
         {"columns 0 to 1 end at depth 2, short of the bottom edge at depth 3",
          "column 2 ends at depth 1, short of the bottom edge at depth 3"},
         2,
         {}},
        {"case.txt",
         "1 3 2 " + std::string(1000000, '0') + "2",
         {"column 2 ends at depth 0, short of the bottom edge at depth 2"},
         1,
         {"{\\psscalebox{14.176500}{2}}"}},
        {"case.txt",
         "2 2 4 2 2",
         {"the A4 document does not show the picture as drawn: the picture is 300.0 mm high, "
          "more than the page's 257 mm: LaTeX leaves the first page blank and puts it on the "
          "second, cut off 277 mm below the top of the text (-f pdf draws it whole and to "
          "scale)"},
         2,
         {}},
        {"case.txt",
         "1 2147483647 2147483647 2147483647",
         {"the A4 document does not show the picture as drawn: TeX reads the unit of 0.000000 "
          "mm that a width of 2147483647 needs as 0 and draws no squares (-f pdf draws it "
          "whole and to scale)"},
         1,
         {"    \\rput(1073741823.500000,1073741823.500000)",
          "    \\psline[linewidth=0.1pt](0,2147483647)(0,0)\n"}},
    };
    keep_previous_document();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 40));
        const std::string file = row.arguments.substr(0, row.arguments.find(' '));
        write_file(work_ / file, row.text);
        const result r = run(row.arguments);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, confirmation);
        std::string err;
        for (const std::string& w : row.warnings)
            err += (w.rfind("squares2tex: ", 0) == 0 ? w : "squares2tex: case.txt: warning: " + w) +
                   "\n";
        EXPECT_EQ(r.err, err);
        const std::string text = document();
        if (!row.whole.empty()) {
            EXPECT_EQ(text, row.whole);
        }
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10 + 6 * row.squares);
        for (const std::string& piece : row.pieces)
            EXPECT_NE(text.find(piece), std::string::npos) << piece;
        EXPECT_EQ(files_in_work(), (std::set<std::string>{file, "squares.tex"}));
        fs::remove(work_ / file);
        fs::remove(work_ / "squares.tex");
    }
}

// Unreadable, ill-formed, unplaceable and hostile cases, and a write cut
// short: each fails cleanly, quickly and in bounded memory.
TEST_F(Cli, FailuresKeepThePreviousDocument)
{
    keep_previous_document();
    fs::create_directory(work_ / "folder");
    {
        std::ofstream out(work_ / "spaces.txt", std::ios::binary);
        const std::string block(1 << 20, ' ');
        for (int i = 0; i < 100; ++i) out << block << (i % 2 == 0 ? "\n" : "\t");
    }
    const struct {
        std::string text;  // of case.txt
        std::vector<std::string> pieces;
        std::string arguments = "case.txt", prefix = "";
    } rows[] = {
        {"",
         {"squares2tex: absent.txt: cannot open the case file: No such file or directory"},
         "absent.txt"},
        {"", {"squares2tex: folder: cannot read the case file: Is a directory"}, "folder"},
        {"", {"squares2tex: spaces.txt: the file ends before the count\n"}, "spaces.txt"},
        {"", {"squares2tex: /dev/zero:1: expected the count, found \"\\x00\\x00"}, "/dev/zero"},
        {"3 3 2 2 1", {"case.txt:1: the file ends after 2 of 3 sides"}},
        {"3 1 3\n1 1\n", {"case.txt:2: the file ends after 2 of 3 sides"}},
        {"2 3 3 1.5 1", {"case.txt:1: expected side 1 of 2, found \"1.5\""}},
        {"3 3 2\n2 one 1", {"case.txt:2: expected side 2 of 3, found \"one\""}},
        {"1 3 2 99999999999", {"case.txt:1: side 1 of 1 is 99999999999, outside"}},
        {"-3 3 2", {"case.txt:1: the count is -3; it must be 0 or more"}},
        {"0 0 2", {"case.txt:1: the width is 0; it must be 1 or more"}},
        {"2000000000 3 2 1 1 1",
         {"case.txt:1: the file ends after 3 of 2000000000 sides; side 4 is missing"}},
        {"2147483647 2147483647 0 1 2",
         {"case.txt:1: the file ends after 2 of 2147483647 sides; side 3 is missing"}},
        {"2147483648 1 1", {"case.txt:1: the count is 2147483648, outside"}},
        {std::string("3 3 2\0\0 2 1 1", 13),
         {"case.txt:1: expected the height, found \"2\\x00\\x00\""}},
        {"3 3 2 2 1 \xc3\xa9\xff", {"case.txt:1: expected side 3 of 3, found \"\\xc3\\xa9\\xff\""}},
        {"2 4 4 2 3", {"case.txt: square 2 (side 3, column 2) overhangs the right edge"}},
        {"1 5 -2147483648 1",
         {"case.txt: square 1 (side 1, column 0) would have its top edge at y = -2147483648"}},
        {"2 2147483647 0 2147483647 2147483647",
         {"case.txt: square 2 (side 2147483647, column 0)", "outside the 32-bit range"}},
        // The limit (600 blocks of 512 or 1024 bytes) stops a later block.
        {large_case,
         {"squares2tex: case.txt: cannot write squares.tex: File too large"},
         "case.txt",
         "trap '' XFSZ; ulimit -f 600;"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pieces.front());
        write_file(work_ / "case.txt", row.text);
        const auto start = std::chrono::steady_clock::now();
        expect_failure(run(row.arguments, row.prefix), row.pieces);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    EXPECT_LT(children.ru_maxrss, 256 * 1024) << "kB at the peak of the largest run";
    EXPECT_EQ(files_in_work(),
              (std::set<std::string>{"case.txt", "folder", "spaces.txt", "squares.tex"}));
}

// A square that overhangs: the svg is drawn up to it (the property test in
// svg_test.cpp says how), with the message and status of the tex document.
TEST_F(Cli, DrawingOfAFailingCaseGoesAsFarAsItCan)
{
    write_file(work_ / "over.txt", "3 4 4 3 2 1\n");
    const result r = run("-o over.svg over.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "squares2tex: over.txt: square 2 (side 2, column 3) overhangs the right "
                     "edge: it reaches x = 5 in a rectangle 4 wide\n");
    EXPECT_NE(read_file(work_ / "over.svg").find("<rect class=\"square warning\" x=\"3\""),
              std::string::npos);
}

// Permissions in the way of the case file, the document, and the directory.
TEST_F(Cli, PermissionDenied)
{
    const auto as_user = unprivileged();
    if (!as_user) GTEST_SKIP() << "running as root, and nobody cannot run the tool here";
    keep_previous_document();
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    const auto read_only = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(work_ / "case.txt", fs::perms::none);
    expect_failure(run("case.txt", *as_user),
                   {"case.txt: cannot open the case file: Permission denied"});

    fs::permissions(work_ / "case.txt", read_only);
    fs::permissions(work_, fs::perms::all);
    fs::permissions(work_ / "squares.tex", read_only);
    expect_failure(run("case.txt", *as_user),
                   {"squares2tex: case.txt: cannot replace squares.tex: Permission denied"});

    // The document may be written: only the directory stands in the way.
    fs::permissions(work_ / "squares.tex", fs::perms::all);
    fs::permissions(work_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    expect_failure(run("case.txt", *as_user),
                   {"case.txt: cannot create squares.tex: Permission denied"});
}

TEST_F(Cli, DocumentCannotBeCreated)
{
    fs::create_directory(work_ / "squares.tex");
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    const result r = run("case.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("squares2tex: case.txt: cannot replace squares.tex:"), std::string::npos)
        << r.err;
    EXPECT_TRUE(fs::is_directory(work_ / "squares.tex"));
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "squares.tex"}));
}

// Where no second thread can be started, large documents are still written
// whole. Only root can drop to a user whose process limit is reached.
TEST_F(Cli, LargeDocumentWithoutASecondThread)
{
    const auto as_user = unprivileged();
    if (geteuid() != 0 || !as_user) GTEST_SKIP() << "needs root, to run the tool as nobody";
    fs::permissions(work_, fs::perms::others_all, fs::perm_options::add);
    write_file(work_ / "case.txt", large_case);
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

}  // namespace
