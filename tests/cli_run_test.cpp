// The executable's options, the check, and the edges of a careful Unix
// tool: standard output that fails, interrupted runs, paths that are not
// plain text, and files replaced through a symbolic link or with
// permissions of their own.
#include <fcntl.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "cli_fixture.h"

namespace {

class Run : public Cli {};

const std::string nine_squares = "9 33 32 18 15 7 8 14 4 10 1 9\n";
const std::string usage = "usage: squares2tex [OPTION]... CASE-FILE";

TEST_F(Run, UsageErrorsWriteNothing)
{
    keep_previous_document();
    write_file(work_ / "case.txt", nine_squares);
    // Outputs that are the input, by its name, a link or another path.
    fs::create_directory(work_ / "gd");
    for (const char* name : {"gd/index.html", "gd/000001-9-33x32.tex"})
        write_file(work_ / name, nine_squares);
    fs::create_symlink("case.txt", work_ / "link.txt");
    fs::create_symlink("gd/000001-9-33x32.tex", work_ / "cat.txt");
    const std::pair<const char*, const char*> rows[] = {
        {"-o case.txt case.txt", "the case file case.txt would be replaced by the output case.txt"},
        {"-o link.txt ./case.txt", "the case file ./case.txt would be replaced by the output link"},
        {"-f svg -d gd --catalogue gd/index.html",
         "the catalogue gd/index.html would be replaced: the run writes gd/index.html"},
        {"-d gd/ --catalogue cat.txt",
         "cat.txt is named as a drawing in gd/: a run into it replaces or removes such a file"},
        {"--check -o /dev/stdout case.txt", "the drawing cannot go there too"},
        {"", "squares2tex: no case file given"},
        {"--bogus case.txt", "unknown option '--bogus'"},
        {"-x case.txt", "unknown option '-x'"},
        {"-f", "option '-f' needs a value"},
        {"--output", "option '--output' needs a value"},
        {"--output= case.txt", "option '--output' needs a value"},
        {"--check=yes case.txt", "option '--check' takes no value"},
        {"--c case.txt",
         "option '--c' is ambiguous; possibilities: '--catalogue' '--count' '--compound' '--check' "
         "'--canonical'"},
        {"-f png case.txt", "unknown format 'png'"},
        {"-f tex", "no case file given"},
        {"--catalogue c.txt case.txt", "not both"},
        {"--catalogue c.txt",
         "--catalogue needs --check, --canonical, --net, --stats or --directory DIR"},
        {"--stats case.txt", "--stats prints a table of a whole catalogue"},
        {"--stats --enumerate 9 --count", "--stats prints a table of a whole catalogue"},
        {"--stats -f pdf --catalogue c.txt", "--stats draws -f svg, its histogram"},
        {"--stats -o s.txt --enumerate 9", "-o FILE takes -f svg"},
        {"--stats -f svg -o s.pdf --catalogue c.txt", "is named as a .pdf file"},
        {"--with-smith -f smith -d out --catalogue c.txt", "--with-smith draws the Smith diagram"},
        {"--with-smith -f svg -o x.svg case.txt", "--with-smith draws the Smith diagram"},
        {"--net --check case.txt", "--net writes each dissection's network; it goes with none"},
        {"--net -f SVG case.txt", "--net writes -f planar_code or -f graph6, not 'SVG'"},
        {"--net --part 1/2 --catalogue c.txt", "--net writes one file of networks"},
        {"--catalogue c.txt -o x.tex --check", "--output names one drawing"},
        {"--check -f svg --catalogue c.txt",
         "--format draws a catalogue only into --directory DIR"},
        {"-d out case.txt", "--directory is for a catalogue"},
        {"--check -o - case.txt", "the drawing cannot go there too"},
        {"--canonical --check -o x case.txt", "--check --canonical prints the table"},
        {"--canonical -f svg case.txt", "--canonical prints codes"},
        {"--canonical -d out --catalogue c.txt", "--canonical prints codes"},
        {"--fromat svg case.txt", "unknown option '--fromat'; did you mean '--format'?"},
        {"-j 0 --check --catalogue c.txt", "--jobs takes a number of threads from 1 to 256"},
        {"--jobs=2x --check --catalogue c.txt", "not '2x'"},
        {"--part 3/2 --check --catalogue c.txt", "--part takes K/N"},
        {"--part 1/2 --check --catalogue -", "--part needs a catalogue file"},
        {"--part 1/2 -d out --catalogue c.txt", "drawings and books are written whole"},
        {"--part 1/2 -o b.pdf --catalogue c.txt", "drawings and books are written whole"},
        {"-o b.pdf -d out --catalogue c.txt", "into one book, not both"},
        {"--only perfect,squre --check --catalogue c.txt",
         "unknown kind 'squre' for --only: choose dissection, not-dissection, perfect, "
         "imperfect, simple, compound, trivially-compound, unreadable, square or oblong"},
        {"--only width=\\<3 --check --catalogue c.txt", "bad bound 'width=<3' for --only"},
        {"--only perfect case.txt", "--only chooses among a catalogue's cases"},
        {"-f pdf --size 0mm case.txt", "--size 0mm is out of range: give 1mm to 5000mm"},
        {"-f pdf --size 5001mm case.txt", "--size 5001mm is out of range"},
        {"-f svg --size 12 case.txt", "--size takes a length such as 120mm, 12cm, 4.5in or 300pt"},
        {"-f svg --size -3cm case.txt", "not '-3cm'"},
        {"-f tikz --size 1.2.3in case.txt", "not '1.2.3in'"},
        {"-f tikz --size 12px case.txt", "not '12px'"},
        {"--size 12cm case.txt", "--size needs a drawing of its own size, svg|tikz|pdf"},
        {"-f tex -o a.pdf --size 12cm case.txt", "--size needs a drawing of its own size"},
        {"-o picture.png case.txt",
         "squares2tex does not write .png files: choose a format, tex|svg|tikz|pdf"},
        {"-f svg -o P.JPEG case.txt", "does not write .jpeg files"},
        {"-o p.jpg case.txt", "does not write .jpg files"},
        {"-o p.gif case.txt", "does not write .gif files"},
        {"-o p.eps case.txt", "does not write .eps files"},
        {"-o p.ps case.txt", "does not write .ps files"},
        {"-f tikz -o t.pdf case.txt", "the output 't.pdf' is named as a .pdf file, but -f tikz"},
        {"-f svg -o x.TeX case.txt", "is named as a .tex file, but -f svg writes .svg files"},
        {"-f PDF -o x.svg case.txt", "is named as a .svg file, but -f pdf writes .pdf files"},
        {"-f tex -o x.pdf case.txt", "is named as a .pdf file, but -f tex writes .tex files"},
        {"-f pdf -o b.tex --catalogue c.txt", "is named as a .tex file"},
        {"-f Png case.txt", "unknown format 'Png'"},
        {"--enumerate 9 --graphs g.pc", "give --enumerate N or --graphs FILE, not both"},
        {"--enumerate 9 case.txt", "--enumerate makes its own cases"},
        {"--graphs g.pc --check", "--graphs writes a catalogue of canonical codes"},
        {"--enumerate 9 -d out", "check or draw it with a second run"},
        {"--enumerate 10-9", "--enumerate takes an order N or a range of orders A-B, from 1 to 40"},
        {"--enumerate 41", "not '41'"},
        {"--squares case.txt",
         "--imperfect, --squares, --count and --with-net go with --enumerate N"},
        {"--enumerate 9 --count --with-net", "--with-net adds to codes; --count writes none"},
        {"--enumerate 9 -j 0", "--jobs takes a number of threads"},
    };
    for (const auto& [arguments, message] : rows) {
        SCOPED_TRACE(arguments);
        expect_failure(run(arguments), {message, usage}, 2);
    }
    for (const char* name : {"case.txt", "gd/index.html", "gd/000001-9-33x32.tex"})
        EXPECT_EQ(read_file(work_ / name), nine_squares);
    EXPECT_EQ(files_in_work("gd").size(), 2u);
}

// Output through a descriptor onto the input is refused before reading, as
// cat does: `>> catalogue` would otherwise grow the catalogue without end.
// The default run's confirmation line is no output, and a terminal, pipe or
// /dev/null on both sides is never refused.
TEST_F(Run, OutputDescriptorOntoTheInput)
{
    const std::pair<const char*, const char*> rows[] = {
        {"$tool --canonical --catalogue in.txt >>in.txt",
         "the catalogue in.txt is also the output (standard output)"},
        {"$tool --check --catalogue - <in.txt >>in.txt", "(standard input) is also the output"},
        {"$tool --check in.txt 1<>in.txt", "the case file in.txt is also the output"},
        {"$tool -o /dev/fd/3 in.txt 3<>in.txt", "in.txt is also the output /dev/fd/3"},
        {"$tool -o - in.txt 1<>in.txt", "in.txt is also the output (standard output)"},
        {"$tool --canonical -o in.txt --catalogue - <in.txt", "is also the output in.txt"},
        {"$tool in.txt >>in.txt", ""},
        {"$tool --check in.txt </dev/null | cat >/dev/null", ""},
    };
    for (const auto& [script, refusal] : rows) {
        SCOPED_TRACE(script);
        write_file(work_ / "in.txt", nine_squares);
        const std::string err = shell(std::string(script) + "; echo \"status $?\" >&2");
        if (*refusal == '\0') {
            EXPECT_NE(err.find("status 0"), std::string::npos) << err;
            continue;
        }
        EXPECT_NE(err.find(refusal), std::string::npos) << err;
        EXPECT_NE(err.find("status 2"), std::string::npos) << err;
        EXPECT_EQ(read_file(work_ / "in.txt"), nine_squares);
    }
}

// Captions and file names of any bytes make SVG that an XML parser reads and
// gallery pages of well-formed UTF-8, invalid bytes shown as \xNN.
TEST_F(Run, MarkupIsWellFormedWhateverTheText)
{
    write_file(work_ / "cat\x80\xff\x01.txt",
               "3 3 2 2 1 1 * \xef\xbf\xbe<\xef\xbf\xbf>\n"
               "3 3 2 2 1 1 * \xed\xa0\x80 \x01 \x1b &\n");
    write_file(work_ / "check.py", R"(import glob, re, sys, xml.etree.ElementTree as tree
svgs = glob.glob("out/*.svg") + ["one.svg"]
for svg in svgs: tree.parse(svg)
page = open("out/index.html", "rb").read().decode("utf-8")
assert not re.search("[\x00-\x08\x0b\x0c\x0e-\x1f\ufffe\uffff]", page)
assert "<title>cat\\x80\\xff\\x01.txt</title>" in page, page[:300]
print("parsed", len(svgs), file=sys.stderr))");
    const std::string err = shell(
        "$tool -f svg -d out --catalogue cat*.txt && $tool -o one.svg cat*.txt && python3 "
        "check.py");
    EXPECT_NE(err.find("parsed 3"), std::string::npos) << err;
}

TEST_F(Run, HelpAndVersion)
{
    for (const char* arguments : {"--help", "-h", "--he case.txt"}) {
        const result r = run(arguments);
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("--format"), std::string::npos);
        EXPECT_NE(r.out.find("9 33 32 18 15 7 8 14 4 10 1 9"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
    const result r = run("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("squares2tex 1.", 0), 0u) << r.out;
    EXPECT_EQ(files_in_work(), std::set<std::string>{});
}

// '-' reads the case from standard input, named so in messages; --quiet
// keeps errors only, and the status.
TEST_F(Run, StandardInputAndQuiet)
{
    write_file(work_ / "short.txt", "2 3 3 1 1\n");  // not a dissection, drawn with warnings
    write_file(work_ / "bad.txt", "3 3 2 2 1 x\n");
    result r = run("-", "", "", (work_ / "short.txt").string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, confirmation);
    EXPECT_NE(r.err.find("squares2tex: (standard input): warning: "), std::string::npos) << r.err;
    const std::string drawn = document();
    r = run("-q short.txt");
    EXPECT_EQ(std::make_tuple(r.status, r.out, r.err),
              std::make_tuple(0, std::string(), std::string()));
    EXPECT_EQ(document(), drawn);
    r = run("--quiet --check -", "", "", (work_ / "bad.txt").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "squares2tex: (standard input):1: expected side 3 of 3, found \"x\"\n");
    write_file(work_ / "cat.txt", "2 3 3 1 1\n3 3 2 2 1 1\n");
    r = run("-q -f svg -d out --catalogue cat.txt");
    EXPECT_EQ(std::make_tuple(r.status, r.out, r.err),
              std::make_tuple(0, std::string(), std::string()));
    EXPECT_EQ(files_in_work("out").count("000002-3-3x2.svg"), 1u);
}

TEST_F(Run, OutputNamesTheFileOrStandardOutput)
{
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    result r = run("-o my.tex case.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\n - - - - - Created my.tex successfully. - - - - - -\n");
    EXPECT_EQ(read_file(work_ / "my.tex"), three_squares_document);
    r = run("-ftex --output=- -- case.txt ignored");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, three_squares_document);
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "my.tex"}));
}

// --size in each unit and each format that takes it (600 units a side: the
// SVG's margin is one unit, the PDF's 2 mm); names ending in .pdf ask for PDF.
TEST_F(Run, SizeAndImpliedFormats)
{
    write_file(work_ / "case.txt", "1 600 600 600");
    const std::pair<const char*, const char*> rows[] = {
        {"--size 120mm -f svg -o - case.txt", R"(width="120.4mm" height="120.4mm")"},
        {"--size=12cm -fsvg -o - case.txt", R"(width="120.4mm" height="120.4mm")"},
        {"--size 4.5in -f svg -o - case.txt", R"(width="114.681mm")"},
        {"--size 300pt -f svg -o - case.txt", R"(width="106.186mm")"},
        {"--size 3in -f tikz -o - case.txt", "(0mm,0mm) rectangle (76.2mm,76.2mm);"},
        {"--size 4.5in -f pdf -o - case.txt", "/MediaBox [0 0 335.339 335.339]"},
        {"-f pdf -o - case.txt", "/MediaBox [0 0 436.536 436.536]"},
        {"-o x.pdf case.txt", "Created x.pdf successfully"},
        {"-o Y.Pdf case.txt", "Created Y.Pdf successfully"},
        {"-f SVG -o Z.SVG case.txt", "Created Z.SVG successfully"},
        {"-f TikZ -o t.tex case.txt", "Created t.tex successfully"},
        {"-f pdf case.txt", "Created squares.pdf successfully"},
    };
    for (const auto& [arguments, piece] : rows) {
        SCOPED_TRACE(arguments);
        const result r = run(arguments);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_NE(r.out.find(piece), std::string::npos) << r.out.substr(0, 300);
    }
    for (const char* name : {"x.pdf", "Y.Pdf", "squares.pdf"})
        EXPECT_EQ(read_file(work_ / name).rfind("%PDF-1.4\n", 0), 0u) << name;
    EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "x.pdf", "Y.Pdf", "squares.pdf",
                                                      "Z.SVG", "t.tex"}));
}

TEST_F(Run, CheckPrintsATableAndDrawsOnlyWhenAsked)
{
    const std::string header =
        "case\tline\torder\twidth\theight\tdissection\tperfect\tsimple\tproblem\tstructure\t"
        "subrectangles\tcaption\n";
    write_file(work_ / "case.txt", nine_squares);
    result r = run("--check case.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, header + "1\t1\t9\t33\t32\tyes\tyes\tyes\t-\tsimple\t-\t-\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(files_in_work(), std::set<std::string>{"case.txt"});

    // Not a dissection: status 1, the table says why, no warnings besides.
    write_file(work_ / "case.txt", "5 4 3 1 1 2 1 3");
    r = run("--check -o x.tex case.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, header +
                         "1\t1\t5\t4\t3\tno\t-\t-\tsquare 5 (side 3, column 1) overlaps an earlier "
                         "square\t-\t-\t-\n");
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fs::exists(work_ / "x.tex"));

    // A square that cannot be placed is also an error message.
    write_file(work_ / "case.txt", "2 4 4 2 3");
    r = run("--check case.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\tno\t-\t-\tsquare 2 (side 3, column 2) overhangs"), std::string::npos);
    EXPECT_EQ(r.err,
              "squares2tex: case.txt: square 2 (side 3, column 2) overhangs the right edge: it "
              "reaches x = 5 in a rectangle 4 wide\n");
}

TEST_F(Run, FailedStandardOutputIsReported)
{
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    for (const char* arguments : {"case.txt", "--check case.txt", "-o - case.txt", "--version"}) {
        SCOPED_TRACE(arguments);
        const result r = run(arguments, "", "/dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("cannot write to standard output: No space left on device"),
                  std::string::npos)
            << r.err;
    }
    // The document itself was written whole.
    EXPECT_EQ(document(), three_squares_document);
}

// The first failed write ends the run, whatever it writes: the writes that
// failed are counted by tests/signal_at.cpp, and the endless enumeration
// ends only by its failure.
TEST_F(Run, FailedWriteEndsTheRun)
{
    std::string big;
    for (int i = 0; i < 20000; ++i) big += "9 33 32 18 15 7 8 14 4 10 1 9\n";
    write_file(work_ / "big.txt", big);
    fs::create_directory(work_ / "d");
    const std::string full = "cannot write to standard output: No space left on device";
    const std::string limit = "trap '' XFSZ; ulimit -f 8;";
    const struct {
        std::string prefix, arguments, out, message;
    } rows[] = {
        {"", "--canonical --catalogue big.txt", "/dev/full", full},
        {"", "--check -j 2 --catalogue big.txt", "/dev/full", full},
        {"", "--enumerate 9-16", "/dev/full", full},
        {limit, "--enumerate 9-16", "", "cannot write to standard output: File too large"},
        {limit, "--enumerate 9-16 -o codes.txt", "", "cannot write codes.txt: File too large"},
        {limit, "--canonical --catalogue big.txt -o codes.txt", "",
         "big.txt: cannot write codes.txt: File too large"},
        {"trap '' XFSZ; ulimit -f 1;", "-f svg -d d --catalogue big.txt", "",
         "big.txt: cannot write d/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        tool_ = SQUARES2TEX_DYNAMIC;
        const result r =
            run(row.arguments,
                row.prefix + " FAILED_WRITES_TO='" + (base_ / "failed").string() +
                    "' LD_PRELOAD='" SIGNAL_AT_LIBRARY "' ASAN_OPTIONS=verify_asan_link_order=0",
                row.out);
        tool_ = SQUARES2TEX_EXE;
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        // A writer thread may have a piece of its own in flight.
        EXPECT_LE(std::stoi(read_file(base_ / "failed")), 2);
    }
    // With SIGPIPE ignored, a closed pipe ends an enumeration that would run for years.
    EXPECT_EQ(
        shell("{ trap '' PIPE; \"$tool\" --quiet --enumerate 9-40; echo $? >status; } | head -1"),
        "squares2tex: cannot write to standard output: Broken pipe\n");
    EXPECT_EQ(read_file(work_ / "status"), "1\n");
}

// A read that fails inside the catalogue is reported once, naming the file;
// the line it cut short is no line of the catalogue, so none is blamed.
TEST_F(Run, FailedReadBlamesNoLine)
{
    std::string big;
    for (int i = 0; i < 5000; ++i) big += "9 33 32 18 15 7 8 14 4 10 1 9\n";
    write_file(work_ / "big.txt", big);
    for (const char* arguments :
         {"--check --catalogue big.txt", "-f svg -d d --catalogue big.txt"}) {
        SCOPED_TRACE(arguments);
        tool_ = SQUARES2TEX_DYNAMIC;
        const result r = run(arguments, "READ_FAILS_AT=2 LD_PRELOAD='" SIGNAL_AT_LIBRARY
                                        "' ASAN_OPTIONS=verify_asan_link_order=0");
        tool_ = SQUARES2TEX_EXE;
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "squares2tex: big.txt: cannot read the catalogue: Input/output error\n");
        std::istringstream rows(r.out);
        std::string row;
        std::getline(rows, row);
        while (std::getline(rows, row)) {
            if (row.empty() || row.find(" - - - ") != std::string::npos) continue;
            EXPECT_NE(row.find("\tyes\tyes\tyes\t-\tsimple\t-\t-"), std::string::npos) << row;
        }
    }
}

// Warnings gathered before an error are printed; paths stay on one line.
TEST_F(Run, MessagesInFull)
{
    write_file(work_ / "case.txt", "6 4 3 1 1 2 1 3 5");
    const std::pair<const char*, const char*> rows[] = {
        {"case.txt",
         "squares2tex: case.txt: warning: square 5 (side 3, column 1) rests on uneven ground: the "
         "columns under it lie at depths 1 to 2\n"
         "squares2tex: case.txt: warning: square 5 (side 3, column 1) reaches below the bottom "
         "edge, to y = -1\n"
         "squares2tex: case.txt: square 6 (side 5, column 0) overhangs the right edge: it reaches "
         "x = 5 in a rectangle 4 wide\n"},
        {"\"$(printf 'no\\nsuch\\033.txt')\"",
         "squares2tex: no\\x0asuch\\x1b.txt: cannot open the case file: No such file or "
         "directory\n"},
    };
    for (const auto& [arguments, err] : rows) {
        SCOPED_TRACE(arguments);
        const result r = run(arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, err);
    }
}

// Signals at several points of a large document: each run ends by the
// signal and leaves no temporary file; squares.tex is the previous document,
// or the complete new one once it has its name.
TEST_F(Run, InterruptedRunsLeaveNoTemporaryFile)
{
    {
        std::ofstream out(work_ / "case.txt");
        out << "1000000 1000 1000";
        for (int i = 0; i < 1000000; ++i) out << " 1";
    }
    // Writes of the document (some 940 blocks, on a thread that blocks the
    // signals), and the moment it takes its name.
    for (const char* at : {"2 write 1", "15 write 400", "1 write 900", "15 rename 1"}) {
        SCOPED_TRACE(at);
        keep_previous_document();
        const result r = run_interrupted("case.txt", at);
        EXPECT_EQ(r.status, 128 + std::atoi(at));
        EXPECT_EQ(files_in_work(), (std::set<std::string>{"case.txt", "squares.tex"}));
        const std::string text = document();
        if (std::string(at).find("rename") == std::string::npos)
            EXPECT_EQ(text, previous_document);
        else
            EXPECT_GT(text.size(), 200000000u);
    }
}

TEST_F(Run, ReplacingKeepsLinksAndPermissions)
{
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    const fs::path target = work_ / "elsewhere" / "target.tex";
    const auto permissions = fs::perms::owner_read | fs::perms::owner_write;
    fs::create_directory(work_ / "elsewhere");
    write_file(target, "old");
    fs::permissions(target, permissions);
    fs::create_symlink("elsewhere/target.tex", work_ / "squares.tex");
    ASSERT_EQ(run("case.txt").status, 0);
    EXPECT_TRUE(fs::is_symlink(work_ / "squares.tex"));
    EXPECT_EQ(read_file(target), three_squares_document);
    EXPECT_EQ(fs::status(target).permissions(), permissions);
    EXPECT_EQ(files_in_work("elsewhere"), std::set<std::string>{"target.tex"});
}

// Each script leaves in `got` what the user sees, statuses included: devices,
// FIFOs and sockets are written into (a reader gone ends the run by
// SIGPIPE), descriptors as the shell opened them; a catalogue's directory
// has its links replaced; closed standard descriptors catch nothing.
TEST_F(Run, OutputsOtherThanARegularFile)
{
    std::string big = "3000 60 50", catalogue;
    for (int i = 0; i < 3000; ++i) big += " 1";
    for (int i = 0; i < 1000; ++i) catalogue += i % 100 == 0 ? "1 x\n" : "3 3 2 2 1 1\n";
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    write_file(work_ / "big.txt", big);
    write_file(work_ / "cat.txt", catalogue);
    shell(
        "mknod null c 1 3 && ln -s null link; mknod full c 1 7; mkfifo fifo; mkdir dir gd; "
        "echo v >v; ln -s ../v gd/index.html; ln -s ../v gd/000002-3-3x2.svg; "
        "mkfifo gd/000003-3-3x2.svg; python3 -c "
        "\"import socket; socket.socket(socket.AF_UNIX).bind('sock')\"");
    const std::string doc = three_squares_document, long_name(255, 'a'), tool = "$tool -o ";
    const std::string failed = "squares2tex: case.txt: cannot ";
    const struct {
        std::string needs, script, got, err = "";
    } rows[] = {
        {"null", tool + "null case.txt >got; echo $? >>got",
         "\n - - - - - Created null successfully. - - - - - -\n0\n"},
        {"link", tool + "link case.txt >/dev/null; echo $? >got", "0\n"},
        {"full", tool + "full case.txt; echo $? >got", "1\n",
         failed + "write full: No space left on device\n"},
        {"sock", tool + "sock case.txt; echo $? >got", "1\n",
         failed + "write sock: No such device or address\n"},
        {"", tool + "dir case.txt; echo $? >got", "1\n", failed + "replace dir: Is a directory\n"},
        {"",
         "timeout 20 cat fifo >got & " + tool +
             "fifo case.txt >/dev/null; s=$?; wait; echo $s >>got",
         doc + "0\n"},
        {"", "timeout 20 head -c 1 fifo >/dev/null & " + tool + "fifo big.txt; echo $? >got",
         "141\n"},
        {"", "{ " + tool + "- big.txt; echo $? >got; } | head -c 1 >/dev/null", "141\n"},
        {"", "{ trap '' PIPE; " + tool + "- big.txt; echo $? >got; } | head -c 1 >/dev/null", "1\n",
         "squares2tex: big.txt: cannot write to standard output: Broken pipe\n"},
        {"", "echo old >got; " + tool + "/dev/stdout case.txt >>got; echo $? >>got",
         "old\n" + doc + "0\n"},
        {"", "echo old >got; " + tool + "/dev/stderr case.txt 2>>got; echo $? >>got",
         "old\n" + doc + "0\n"},
        {"", "echo old >got; " + tool + "/dev/fd/3 case.txt 3>>got; echo $? >>got",
         "old\n" + doc + "0\n"},
        {"", tool + "/dev/fd/7 case.txt; echo $? >got", "1\n",
         failed + "write /dev/fd/7: Bad file descriptor\n"},
        {"", tool + long_name + " case.txt >/dev/null; echo $? >got; cat " + long_name + " >>got",
         "0\n" + doc},
        {"",
         "timeout 20 $tool -fsvg -d gd --catalogue cat.txt 2>&1 >/dev/null | grep -c "
         "'000003-3-3x2.svg: not a regular' >got; cat v >>got; find gd -type l >>got",
         "1\nv\n"},
        {"",
         "$tool --check -fsvg -d o1 --catalogue - <cat.txt >&- 2>&-; echo $? >got; "
         "cat o1/* | grep -c -e squares2tex: -e \"$(printf 'perfect\\tsimple')\" >>got",
         "1\n0\n"},
        {"",
         "$tool -fsvg -d o2 --catalogue - <cat.txt 2>&- >/dev/null; echo $? >got; "
         "cat o2/* | grep -c squares2tex: >>got",
         "1\n0\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        if (!row.needs.empty() && !fs::exists(fs::symlink_status(work_ / row.needs))) continue;
        EXPECT_EQ(shell(row.script), row.err);
        EXPECT_EQ(read_file(work_ / "got"), row.got);
    }
    // Nothing was replaced, and no temporary file is left.
    const std::pair<const char*, fs::file_type> kinds[] = {
        {"null", fs::file_type::character}, {"full", fs::file_type::character},
        {"link", fs::file_type::symlink},   {"sock", fs::file_type::socket},
        {"fifo", fs::file_type::fifo},      {"dir", fs::file_type::directory}};
    for (const auto& [name, kind] : kinds) {
        const auto found = fs::symlink_status(work_ / name).type();
        EXPECT_TRUE(found == kind || found == fs::file_type::not_found) << name;
    }
    for (const char* directory : {"", "gd"}) {
        for (const std::string& name : files_in_work(directory))
            EXPECT_EQ(name.find(".tmp"), name.npos) << name;
    }
}

class Catalogue : public Cli {
protected:
    // Comments, blank lines, notes, pasted codes, a byte-order mark, CR LF,
    // and lines that cannot be read or drawn among good ones.
    void SetUp() override
    {
        Cli::SetUp();
        write_file(work_ / "cat.txt",
                   "\xef\xbb\xbf# squared rectangles\n"
                   "\n"
                   "9 33 32 (18,15)(7,8)(14,4)(10,1)(9) the nine-square one\n"
                   "  # an indented comment\n"
                   "5 4 3 1 1 2 1 3\n"
                   "3 3 2 2 1 x\n"
                   "3 3 1 2 1 5\n"
                   "4 2 2 1 1 1 1\r\n"
                   "1 3 3 3.9\n");
    }

    const std::string errors =
        "squares2tex: cat.txt:6: expected side 3 of 3, found \"x\"\n"
        "squares2tex: cat.txt:7: square 3 (side 5, column 2) overhangs the right edge: it reaches "
        "x = 7 in a rectangle 3 wide\n"
        "squares2tex: cat.txt:9: expected side 1 of 1, found \"3.9\"\n";
};

// Every case line gets its row, readable or not; the problem is the first
// fault, the message names the square that cannot be placed.
TEST_F(Catalogue, CheckGivesOneRowPerCaseLine)
{
    const result r = run("--check --catalogue cat.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "case\tline\torder\twidth\theight\tdissection\tperfect\tsimple\tproblem\t"
              "structure\tsubrectangles\tcaption\n"
              "1\t3\t9\t33\t32\tyes\tyes\tyes\t-\tsimple\t-\t-\n"
              "2\t5\t5\t4\t3\tno\t-\t-\tsquare 5 (side 3, column 1) overlaps an earlier "
              "square\t-\t-\t-\n"
              "3\t6\t-\t-\t-\t-\t-\t-\texpected side 3 of 3, found \"x\"\t-\t-\t-\n"
              "4\t7\t3\t3\t1\tno\t-\t-\tsquare 1 (side 2, column 0) reaches below the bottom "
              "edge\t-\t-\t-\n"
              "5\t8\t4\t2\t2\tyes\tno\tno\t-\tcompound\t1x2@0,0 2x1@0,0 1x2@1,0 2x1@0,1\t-\n"
              "6\t9\t-\t-\t-\t-\t-\t-\texpected side 1 of 1, found \"3.9\"\t-\t-\t-\n");
    EXPECT_EQ(r.err, errors);
    EXPECT_EQ(files_in_work(), std::set<std::string>{"cat.txt"});
    // With --canonical: each dissection's code, and the caption made safe for TSV.
    write_file(work_ / "codes.txt",
               "9 32 33 (18,14)(4,10)(15,7)(1,9)(8) * turned\ta\r\n5 4 3 1 1 2 1 3\n3 3 2 x\n");
    const result codes = run("--check --canonical --catalogue codes.txt");
    EXPECT_EQ(codes.status, 1);
    EXPECT_EQ(codes.out.substr(codes.out.find('\n') + 1),
              "1\t1\t9\t32\t33\tyes\tyes\tyes\t-\t9 33 32 "
              "(18,15)(7,8)(14,4)(10,1)(9)\tsimple\t-\tturned\\x09a\n"
              "2\t2\t5\t4\t3\tno\t-\t-\tsquare 5 (side 3, column 1) overlaps an earlier "
              "square\t-\t-\t-\t-\n"
              "3\t3\t-\t-\t-\t-\t-\t-\texpected side 1 of 3, found \"x\"\t-\t-\t-\t-\n");
    // Dissections only, from standard input: status 0.
    write_file(work_ / "good.txt", "3 3 2 2 1 1\n# end\n4 2 2 1 1 1 1\n");
    const result good = run("--check --catalogue -", "", "", "good.txt");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out.substr(good.out.find('\n') + 1),
              "1\t1\t3\t3\t2\tyes\tno\tno\t-\ttrivially compound\t1x2@2,0\t-\n"
              "2\t3\t4\t2\t2\tyes\tno\tno\t-\tcompound\t1x2@0,0 2x1@0,0 1x2@1,0 2x1@0,1\t-\n");
}

// The gallery and the book show each case's code to be copied: the
// canonical one, or the line as given, labelled; an unreadable line keeps
// its caption there and in the table.
TEST_F(Catalogue, TheCodeIsOnThePage)
{
    write_file(work_ / "cat.txt", read_file(work_ / "cat.txt") + "3 3 2 2 y * a\tnote \n");
    run("-f svg -d g --catalogue cat.txt");
    const std::string page = read_file(work_ / "g" / "page-000001.html");
    for (const char* code :
         {"33&nbsp;x&nbsp;32",
          "canonical: <code>9 33 32 (18,15)(7,8)(14,4)(10,1)(9)</code></figcaption>",
          "not read<br>as given: <code>3 3 2 2 1 x</code>",
          "as given: <code>5 4 3 1 1 2 1 3</code>", "canonical: <code>4 2 2 (1,1)(1,1)</code>",
          "not read<br><q>a\\x09note</q>"})
        EXPECT_NE(page.find(code), std::string::npos) << code;
    EXPECT_NE(run("--check --catalogue cat.txt").out.find("\t-\t-\ta\\x09note\n"),
              std::string::npos);
    run("-o b.pdf --catalogue cat.txt");
    const std::string book = read_file(work_ / "b.pdf");
    EXPECT_NE(book.find("(case 2, line 5: order 5, 4 x 3, not a dissection: 5 4 3 1 1 2 1 3) Tj"),
              std::string::npos);
}

// --only keeps the cases of every kind it names, with their numbers; the
// rest leave only their count.
TEST_F(Catalogue, OnlyTheKindsAsked)
{
    const result table = run("--only imperfect,compound --check --catalogue cat.txt");
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(table.out.substr(table.out.find('\n') + 1),
              "5\t8\t4\t2\t2\tyes\tno\tno\t-\tcompound\t1x2@0,0 2x1@0,0 1x2@1,0 2x1@0,1\t-\n");
    // A square as high as the whole: only the 3 x 2 of the good cases below.
    write_file(work_ / "two.txt", "3 3 2 2 1 1\n4 2 2 1 1 1 1\n");
    EXPECT_EQ(run("--only trivially-compound --canonical --catalogue two.txt").out,
              "3 3 2 (2,1)(1)\n");
    // Shapes and bounds on sizes, each term to hold.
    for (const auto& [only, kept] : {std::pair{"square", "4 2 2 (1,1)(1,1)\n"},
                                     {"oblong", "3 3 2 (2,1)(1)\n"},
                                     {"width<=2", "4 2 2 (1,1)(1,1)\n"},
                                     {"order>3,longer>=3,shorter<3", ""},
                                     {"order=3,height>1,width<4,oblong", "3 3 2 (2,1)(1)\n"}}) {
        EXPECT_EQ(run(std::string("--only '") + only + "' --canonical --catalogue two.txt").out,
                  kept)
            << only;
    }
    EXPECT_EQ(table.err, "");
    const result unread = run("--only unreadable --canonical --catalogue cat.txt");
    EXPECT_EQ(unread.status, 1);
    EXPECT_EQ(unread.out, "");
    EXPECT_EQ(unread.err,
              "squares2tex: cat.txt:6: expected side 3 of 3, found \"x\"\n"
              "squares2tex: cat.txt:9: expected side 1 of 1, found \"3.9\"\n");
    const result drawn = run("--only not-dissection -f svg -d g --catalogue cat.txt");
    EXPECT_EQ(drawn.out,
              "\n - - - - - Created 2 drawings in g; 1 case drawn only up to a square "
              "that cannot be placed (see the messages above); 4 cases left out by "
              "--only. - - - - - -\n");
    EXPECT_EQ(files_in_work("g").count("000002-5-4x3.svg"), 1u);
    EXPECT_NE(read_file(work_ / "g" / "index.html").find("left out by --only</th><td>4<"),
              std::string::npos);
}

// Each drawing is the single-case document; names sort in catalogue order.
TEST_F(Catalogue, DrawsEachCaseIntoTheDirectory)
{
    const result r = run("--catalogue cat.txt -d out/tex");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "\n - - - - - Created 3 drawings in out/tex; 3 cases could not be drawn (see the "
              "messages above). - - - - - -\n");
    EXPECT_NE(
        r.err.find(
            "squares2tex: cat.txt:5: warning: square 5 (side 3, column 1) rests on uneven ground"),
        std::string::npos);
    EXPECT_NE(r.err.find(errors.substr(errors.find("squares2tex: cat.txt:7"))), std::string::npos);
    EXPECT_EQ(files_in_work("out/tex"),
              (std::set<std::string>{".squares2tex-made", "000001-9-33x32.tex", "000002-5-4x3.tex",
                                     "000005-4-2x2.tex"}));
    EXPECT_EQ(read_file(work_ / "out" / "tex" / ".squares2tex-made"),
              "squares2tex: files made in this directory, format 1\n000001-9-33x32.tex\n"
              "000002-5-4x3.tex\n000005-4-2x2.tex\n");
    write_file(work_ / "one.txt", "5 4 3 1 1 2 1 3");
    ASSERT_EQ(run("one.txt").status, 0);
    EXPECT_EQ(read_file(work_ / "out" / "tex" / "000002-5-4x3.tex"), document());
}

// A catalogue of `lines` lines drawn at random from the fixture's, so that
// every kind of line lands in every batch.
std::string shuffled_catalogue(const std::string& lines, int count, unsigned seed)
{
    std::vector<std::string> kinds;
    std::istringstream in(lines.substr(3));  // after the byte-order mark
    for (std::string line; std::getline(in, line);) kinds.push_back(line + "\n");
    std::mt19937 random(seed);
    std::string text = "\xef\xbb\xbf";
    for (int i = 0; i < count; ++i) text += kinds[random() % kinds.size()];
    return text + "1 1 1 1";  // no line end at the end
}

// Whatever the threads, every byte of the output is the same: the table,
// the canonical codes, the messages, the status, the drawings, the
// gallery's pages and the book.
TEST_F(Catalogue, SameOutputWhateverTheThreads)
{
    write_file(work_ / "big.txt", shuffled_catalogue(read_file(work_ / "cat.txt"), 20000, 1));
    write_file(work_ / "drawn.txt", shuffled_catalogue(read_file(work_ / "cat.txt"), 1500, 2));
    const result one = run("-j 1 --check --catalogue big.txt");
    const result codes_one = run("-j 1 --canonical --catalogue big.txt");
    const result only_one = run("-j 1 --only dissection,compound --check --catalogue big.txt");
    EXPECT_GT(std::count(codes_one.out.begin(), codes_one.out.end(), '\n'), 1000);
    const result drawn_one = run("-j1 --check -f svg -d one --catalogue drawn.txt");
    const result book_one = run("-j1 -f pdf -o one.pdf --catalogue drawn.txt");
    EXPECT_NE(book_one.out.find(" pages; "), std::string::npos) << book_one.out;
    for (const char* jobs : {"2", "5"}) {
        SCOPED_TRACE(jobs);
        const result many = run(std::string("-j ") + jobs + " --check --catalogue big.txt");
        EXPECT_EQ(many.status, one.status);
        // (Whole texts compared as one: a difference in them is no short message.)
        EXPECT_TRUE(many.out == one.out);
        EXPECT_TRUE(many.err == one.err);
        const result codes = run(std::string("-j ") + jobs + " --canonical --catalogue big.txt");
        EXPECT_EQ(codes.status, codes_one.status);
        EXPECT_TRUE(codes.out == codes_one.out && codes.err == codes_one.err);
        const result only = run(std::string("-j ") + jobs +
                                " --only dissection,compound --check --catalogue big.txt");
        EXPECT_TRUE(only.out == only_one.out && only.err == only_one.err);
        const result drawn = run(std::string("--jobs=") + jobs + " --check -f svg -d " + jobs +
                                 " --catalogue drawn.txt");
        EXPECT_EQ(drawn.status, drawn_one.status);
        EXPECT_TRUE(drawn.out == drawn_one.out);
        EXPECT_TRUE(drawn.err == drawn_one.err);
        // A book of the same cases, page for page.
        const result book =
            run(std::string("-j") + jobs + " -o " + jobs + ".pdf --catalogue drawn.txt");
        EXPECT_TRUE(book.err == book_one.err);
        EXPECT_TRUE(read_file(work_ / (std::string(jobs) + ".pdf")) ==
                    read_file(work_ / "one.pdf"));
        const std::set<std::string> names = files_in_work("one");
        ASSERT_EQ(files_in_work(jobs), names);
        for (const std::string& name : names)
            ASSERT_TRUE(read_file(work_ / jobs / name) == read_file(work_ / "one" / name)) << name;
    }
    // A row for every case line, numbered without a gap.
    std::istringstream rows(one.out);
    std::string row;
    std::getline(rows, row);
    int number = 0;
    while (std::getline(rows, row)) ASSERT_EQ(row.rfind(std::to_string(++number) + "\t", 0), 0u);
    EXPECT_GT(number, 10000);
    EXPECT_EQ(files_in_work("one").count("page-000002.html"), 1u);
}

// Parts 1 to N, one after the other, say what the whole run says.
TEST_F(Catalogue, PartsAddUpToTheWhole)
{
    write_file(work_ / "cat.txt", shuffled_catalogue(read_file(work_ / "cat.txt"), 60, 3));
    const result whole = run("--check --catalogue cat.txt");
    for (const int n : {1, 2, 3, 7, 100}) {
        SCOPED_TRACE(n);
        result parts;
        parts.status = 0;
        for (int k = 1; k <= n; ++k) {
            const result r = run("--check --part " + std::to_string(k) + "/" + std::to_string(n) +
                                 " --catalogue cat.txt");
            parts.out += r.out;
            parts.err += r.err;
            parts.status = std::max(parts.status, r.status);
        }
        EXPECT_EQ(parts.out, whole.out);
        EXPECT_EQ(parts.err, whole.err);
        EXPECT_EQ(parts.status, whole.status);
    }
}

// On a terminal a long run shows how far it has come, and erases the line
// at the end; elsewhere nothing is shown.
TEST_F(Catalogue, ProgressOnATerminalOnly)
{
    const std::string slow = "(echo 3 3 2 2 1 1; sleep 1.5; echo 3 3 2 2 1 1) | ";
    const result piped = run("--check --catalogue - 2>&1", slow);
    EXPECT_EQ(piped.out.find("cases, "), std::string::npos) << piped.out;
    // script(1) runs it on a terminal of its own and shows what it writes there.
    const std::string command = "cd '" + work_.string() + "' && script -qec \"" + slow + "'" +
                                SQUARES2TEX_EXE + "' --check --catalogue - >/dev/null\" '" +
                                (base_ / "typescript").string() + "' </dev/null >'" +
                                (base_ / "terminal").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const result terminal{0, read_file(base_ / "terminal"), ""};
    const std::string shown = "\rsquares2tex: 2 cases, ";
    const std::size_t at = terminal.out.find(shown);
    ASSERT_NE(at, std::string::npos) << terminal.out;
    EXPECT_NE(terminal.out.find("\r    ", at + shown.size()), std::string::npos) << terminal.out;
}

// The catalogue is read as a stream: memory stays that of the batches in flight.
// A large case is checked in under 50 bytes a square, and two of them at
// -j 2 take no more than one: one large case is in work at a time.
TEST_F(Catalogue, LargeCasesTakeFiftyBytesASquareWhateverTheThreads)
{
    std::string line = "1048576 1024 1024";  // 2^20 squares of side 1
    for (int i = 0; i < 1 << 20; ++i) line += " 1";
    write_file(work_ / "one.txt", line + "\n");
    write_file(work_ / "two.txt", line + "\n" + line + "\n");
    write_file(work_ / "tiny.txt", "3 3 2 2 1 1\n");
    const auto peak_kb = [&](const char* catalogue) {
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("ASAN_OPTIONS", "quarantine_size_mb=0", 1);
            if (!freopen("/dev/null", "w", stdout)) _exit(127);
            execl(SQUARES2TEX_EXE, SQUARES2TEX_EXE, "--check", "-j2", "--catalogue",
                  (work_ / catalogue).c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = -1;
        rusage usage{};
        EXPECT_EQ(wait4(pid, &status, 0, &usage), pid);
        EXPECT_EQ(status, 0) << catalogue;
        return usage.ru_maxrss;
    };
    const long base = peak_kb("tiny.txt");
    const long one = peak_kb("one.txt") - base;
    const long two = peak_kb("two.txt") - base;
    EXPECT_LT(one * 1024, 50L << 20) << one << " kB for 2^20 squares";
    // The second line, read ahead while the first is checked, holds its text
    // and sides (some 10 MB here); a second worker's memory would double it.
    EXPECT_LT(two, one + one / 2) << one << " kB for one case, " << two << " kB for two";
}

TEST_F(Catalogue, MemoryDoesNotGrowWithTheCatalogue)
{
    const auto peak_kb = [&](int lines) {
        {
            std::ofstream out(work_ / "many.txt");
            for (int i = 0; i < lines; ++i) out << "9 33 32 18 15 7 8 14 4 10 1 9\n";
        }
        // The run's own peak, not that of every child so far.
        const std::string catalogue = (work_ / "many.txt").string();
        const pid_t pid = fork();
        if (pid == 0) {
            // A sanitized build would otherwise keep freed memory for a while.
            setenv("ASAN_OPTIONS", "quarantine_size_mb=0", 1);
            if (!freopen("/dev/null", "w", stdout)) _exit(127);
            execl(SQUARES2TEX_EXE, SQUARES2TEX_EXE, "--check", "--catalogue", catalogue.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = -1;
        rusage usage{};
        EXPECT_EQ(wait4(pid, &status, 0, &usage), pid);
        EXPECT_EQ(status, 0);
        return usage.ru_maxrss;
    };
    // Enough lines to fill every batch in flight (on 2 cores, 18 batches of
    // 4,096 lines), then five times as many.
    const long small = peak_kb(200000);
    const long large = peak_kb(1000000);
    EXPECT_LT(large, small + 2048)
        << small << " kB for 200000 lines, " << large << " kB for 1000000";
}

}  // namespace
