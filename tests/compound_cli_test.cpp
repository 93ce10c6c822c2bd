// The compound enumeration end to end: the published counts both ways,
// every code through --check, the code up to the sub-rectangles'
// symmetries, and the options that do not go together.
#include <cctype>
#include <regex>

#include "cli_fixture.h"

namespace {

class Compound : public Cli {};

// The sub-rectangles a drawing outlines, as the check lists them ("-" for none).
std::string outlined_in(const std::string& drawing, const std::string& format)
{
    static const std::regex svg(
        R"re(<rect class="subrectangle" x="(\d+)" y="(\d+)" width="(\d+)" height="(\d+)")re");
    static const std::regex pdf(
        R"re(\n(\d+) (\d+) (\d+) (\d+) re S(?=\n(Q|\d+ \d+ \d+ \d+ re S\n)))re");
    static const std::regex tikz(
        R"re(\\draw\[blue[^\n]*\(([\d.]+)mm,([\d.]+)mm\) rectangle \(([\d.]+)mm,([\d.]+)mm\); % (\S+))re");
    std::string list;
    std::string text = drawing;
    if (format == "pdf") {
        const std::size_t at = drawing.find("% sub-rectangles\n");
        text = at == std::string::npos ? "" : drawing.substr(at);
    }
    const std::regex& outline = format == "svg" ? svg : format == "pdf" ? pdf : tikz;
    for (std::sregex_iterator m(text.begin(), text.end(), outline), end; m != end; ++m) {
        if (!list.empty()) list += ' ';
        list += format == "tikz" ? (*m)[5].str()
                                 : (*m)[3].str() + "x" + (*m)[4].str() + "@" + (*m)[1].str() + "," +
                                       (*m)[2].str();
    }
    return list.empty() ? "-" : list;
}

// Order; simple (A002839); trivially compound (A217375); non-trivially
// compound (A217153); all (A217154); then up to the sub-rectangles'
// symmetries too: trivially (A217374), non-trivially (A217152), all (A110148).
const char* const published_counts =
    "order\tsimple\ttrivially compound\tnontrivially compound\tall\ttrivially compound up to "
    "subrectangles\tnontrivially compound up to subrectangles\tall up to subrectangles\n"
    "9\t2\t0\t0\t2\t0\t0\t2\n10\t6\t8\t0\t14\t4\t0\t10\n11\t22\t40\t0\t62\t16\t0\t38\n"
    "12\t67\t168\t0\t235\t60\t0\t127\n13\t213\t604\t4\t821\t194\t1\t408\n"
    "14\t744\t2076\t48\t2868\t622\t9\t1375\n15\t2609\t7320\t264\t10193\t2128\t46\t4783\n"
    "16\t9016\t26132\t1256\t36404\t7438\t191\t16645\n";

TEST_F(Compound, CountsAreThePublishedOnesBothWays)
{
    const result r = run("--enumerate 9-16 --compound --count");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, published_counts);
}

TEST_F(Compound, EveryCodeChecksAsThePartAskedFor)
{
    const struct {
        const char* part;
        const char* structure;
        int count;
    } parts[] = {{"--trivial", "\tyes\tyes\tno\t-\ttrivially compound\t", 604 + 2076},
                 {"--nontrivial", "\tyes\tyes\tno\t-\tcompound\t", 4 + 48}};
    for (const auto& p : parts) {
        SCOPED_TRACE(p.part);
        ASSERT_EQ(run(std::string("--enumerate 13-14 --compound ") + p.part, "",
                      (work_ / "codes.txt").string())
                      .status,
                  0);
        const result table = run("--check --catalogue codes.txt");
        EXPECT_EQ(table.status, 0) << table.err;
        std::istringstream rows(table.out);
        std::string row;
        std::getline(rows, row);
        int checked = 0;
        for (; std::getline(rows, row); ++checked)
            EXPECT_NE(row.find(p.structure), std::string::npos) << row;
        EXPECT_EQ(checked, p.count);
    }
    // The same for any number of threads.
    EXPECT_EQ(run("--enumerate 13-14 --compound -j 3").out,
              run("--enumerate 13-14 --compound -j 1").out);
    // --all is the simple and the compound ones merged.
    EXPECT_EQ(shell("\"$tool\" --enumerate 12-13 >s && \"$tool\" --enumerate 12-13 --compound >c "
                    "&& \"$tool\" --enumerate 12-13 --all >a && LC_ALL=C sort -m -k1,1n -k2,2n "
                    "-k3,3n -k4 s c "
                    "| cmp - a"),
              "");
}

TEST_F(Compound, ImperfectOnesCheckAsThePartAskedForAndCountBothWays)
{
    // Each part's lines through the check, and counted up to the
    // sub-rectangles' symmetries by --canonical --up-to-subrectangles.
    int parts[2][2] = {};
    const char* const structures[] = {"trivially compound", "compound"};
    for (int p = 0; p < 2; ++p) {
        SCOPED_TRACE(structures[p]);
        const std::string part = p == 0 ? " --trivial" : " --nontrivial";
        ASSERT_EQ(run("--enumerate 9 --compound --imperfect" + part, "", (work_ / "part").string())
                      .status,
                  0);
        const result table = run("--check --catalogue part");
        std::istringstream rows(table.out);
        std::string row;
        std::getline(rows, row);
        for (; std::getline(rows, row); ++parts[p][0]) {
            EXPECT_NE(row.find(std::string("\tyes\tno\tno\t-\t") + structures[p] + "\t"),
                      std::string::npos)
                << row;
        }
        parts[p][1] = std::stoi(shell("\"$tool\" --canonical --up-to-subrectangles --catalogue "
                                      "part | sort -u | wc -l >&2"));
    }
    const int simple = std::stoi(shell("\"$tool\" --enumerate 9 --imperfect | wc -l >&2"));
    const std::string row = "9\t" + std::to_string(simple) + "\t" + std::to_string(parts[0][0]) +
                            "\t" + std::to_string(parts[1][0]) + "\t" +
                            std::to_string(simple + parts[0][0] + parts[1][0]) + "\t" +
                            std::to_string(parts[0][1]) + "\t" + std::to_string(parts[1][1]) +
                            "\t" + std::to_string(simple + parts[0][1] + parts[1][1]) + "\n";
    EXPECT_GT(parts[1][0], 1000);
    const result counted = run("--enumerate 9 --compound --imperfect --count");
    EXPECT_EQ(counted.out.substr(counted.out.find('\n') + 1), row);
    EXPECT_EQ(run("--enumerate 9 --all --imperfect --count").out, counted.out);
    // --all is the simple and the compound ones merged, the same for any -j.
    EXPECT_EQ(shell("\"$tool\" --enumerate 8-9 --imperfect 2>/dev/null >s && \"$tool\" --enumerate 8-9 "
                    "--compound --imperfect -j 2 >c && \"$tool\" --enumerate 8-9 --all --imperfect "
                    ">a && LC_ALL=C sort -m -k1,1n -k2,2n -k3,3n -k4 s c | cmp - a"),
              "");
}

TEST_F(Compound, DrawingsOutlineTheSubRectanglesTheCheckFinds)
{
    // Trivially and non-trivially compound ones, four overlapping halves of
    // a square, and a simple one.
    ASSERT_EQ(shell("\"$tool\" --enumerate 13 --compound | head -3 >cases.txt && \"$tool\" "
                    "--enumerate 13 --compound --nontrivial >>cases.txt && printf '4 4 4 2 2 2 "
                    "2\\n9 33 32 18 15 7 8 14 4 10 1 9\\n' >>cases.txt"),
              "");
    const result table = run("--check --catalogue cases.txt");
    std::vector<std::string> expected;
    std::istringstream rows(table.out);
    std::string row;
    for (std::getline(rows, row); std::getline(rows, row);) {
        std::vector<std::string> columns;
        std::istringstream fields(row);
        for (std::string f; std::getline(fields, f, '\t');) columns.push_back(f);
        ASSERT_EQ(columns.size(), 12u) << row;
        expected.push_back(columns[10]);
    }
    ASSERT_EQ(expected.size(), 9u);
    EXPECT_EQ(expected[7], "2x4@0,0 4x2@0,0 2x4@2,0 4x2@0,2");
    EXPECT_EQ(expected[8], "-");
    for (const std::string format : {"svg", "pdf", "tikz"}) {
        SCOPED_TRACE(format);
        ASSERT_EQ(run("-f " + format + " -d " + format + " --catalogue cases.txt").status, 0);
        std::vector<std::string> drawings;
        for (const std::string& name : files_in_work(format))
            if (std::isdigit(static_cast<unsigned char>(name[0]))) drawings.push_back(name);
        ASSERT_EQ(drawings.size(), expected.size());
        for (std::size_t k = 0; k < drawings.size(); ++k) {
            const std::string drawing = read_file(work_ / format / drawings[k]);
            EXPECT_EQ(outlined_in(drawing, format), expected[k]) << drawings[k];
            if (format == "tikz") continue;
            // The title counts them, and only when there are some.
            const std::size_t count = std::count(expected[k].begin(), expected[k].end(), '@');
            EXPECT_EQ(drawing.find(", outlined: " + std::to_string(count) +
                                   (count == 1 ? " sub-rectangle" : " sub-rectangles")) !=
                          std::string::npos,
                      count > 0)
                << drawings[k];
        }
    }
    // The gallery's caption says so; a one-case drawing is the catalogue's.
    EXPECT_NE(read_file(work_ / "svg" / "page-000001.html").find(", outlined: 4 sub-rectangles"),
              std::string::npos);
    write_file(work_ / "four.txt", "4 4 4\n2 2 2 2\n");
    ASSERT_EQ(run("-f svg -o four.svg four.txt").status, 0);
    EXPECT_EQ(read_file(work_ / "four.svg"), read_file(work_ / "svg" / "000008-4-4x4.svg"));
}

TEST_F(Compound, CodesUpToSubRectanglesJoinTurnedOnes)
{
    run("--enumerate 10 --compound", "", (work_ / "ten.txt").string());
    run("--enumerate 13 --compound --nontrivial", "", (work_ / "thirteen.txt").string());
    const struct {
        const char* arguments;
        const char* distinct;
    } rows[] = {{"--canonical --catalogue ten.txt", "8\n"},
                {"--canonical --up-to-subrectangles --catalogue ten.txt", "4\n"},
                {"--canonical --up-to-subrectangles --catalogue thirteen.txt", "1\n"},
                {"--check --canonical --up-to-subrectangles --catalogue thirteen.txt", "1\n"},
                {"--check --canonical --catalogue thirteen.txt", "4\n"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        EXPECT_EQ(shell(std::string("\"$tool\" ") + row.arguments +
                        " | grep -v ^case | cut -f 10 | sort -u | wc -l | tr -d ' ' >&2"),
                  row.distinct);
    }
    // One case: the code, its caption after it.
    write_file(work_ / "case.txt", "10 65 32 32 15 18 8 7 4 14 1 10 9 * top");
    write_file(work_ / "turned.txt", "10 65 32 32 18 15 7 8 14 4 10 1 9 * top");
    const result a = run("--canonical --up-to-subrectangles case.txt");
    EXPECT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, run("--canonical --up-to-subrectangles turned.txt").out);
    EXPECT_NE(run("--canonical case.txt").out, run("--canonical turned.txt").out);
    EXPECT_NE(a.out.find(" * top\n"), std::string::npos) << a.out;
}

TEST_F(Compound, OptionsThatDoNotGoTogether)
{
    keep_previous_document();
    const std::pair<const char*, const char*> rows[] = {
        {"--enumerate 12 --trivial", "--trivial and --nontrivial choose a part of --compound"},
        {"--enumerate 12 --compound --trivial --nontrivial", "not both"},
        {"--enumerate 12 --compound --all", "give one of them"},
        {"--enumerate 12 --compound --part 1/2", "--part shares out only --compound --squares"},
        {"--enumerate 24 --compound --squares --count --part 1/2", "--part shares out only"},
        {"--enumerate 12 --compound --trivial --count", "--count counts every part"},
        {"--compound case.txt", "go with --enumerate N"},
        {"--up-to-subrectangles case.txt", "goes with --canonical"},
    };
    for (const auto& [arguments, message] : rows) {
        SCOPED_TRACE(arguments);
        expect_failure(run(arguments), {message}, 2);
    }
    expect_failure(run("--enumerate 21 --compound"), {"orders up to 20"});
    expect_failure(run("--enumerate 11-13 --all --imperfect"), {"--imperfect makes orders up to 12"});
    expect_failure(run("--enumerate 29 --compound --squares"), {"orders up to 28"});
    expect_failure(run("--enumerate 20-24 --compound --squares --part 1/2"),
                   {"--part shares out only"});
    // A full standard output: the run says so and fails.
    const result full = run("--enumerate 9-14 --compound", "", "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write to standard output: No space left on device"),
              std::string::npos)
        << full.err;
}

}  // namespace
