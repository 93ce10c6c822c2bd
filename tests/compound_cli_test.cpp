// The compound enumeration end to end: the published counts both ways,
// every code through --check, the code up to the sub-rectangles'
// symmetries, and the options that do not go together.
#include "cli_fixture.h"

namespace {

class Compound : public Cli {};

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
        {"--enumerate 12 --compound --imperfect", "not made yet"},
        {"--enumerate 12 --compound --part 1/2", "not shared out by --part"},
        {"--enumerate 12 --compound --trivial --count", "--count counts every part"},
        {"--compound case.txt", "go with --enumerate N"},
        {"--up-to-subrectangles case.txt", "goes with --canonical"},
    };
    for (const auto& [arguments, message] : rows) {
        SCOPED_TRACE(arguments);
        expect_failure(run(arguments), {message}, 2);
    }
    expect_failure(run("--enumerate 21 --compound"), {"orders up to 20"});
    expect_failure(run("--enumerate 29 --compound --squares"), {"orders up to 28"});
    // A full standard output: the run says so and fails.
    const result full = run("--enumerate 9-14 --compound", "", "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write to standard output: No space left on device"),
              std::string::npos)
        << full.err;
}

}  // namespace
