// The enumeration end to end: the published counts, the catalogue of
// order 9, every code through --check, parts that merge into the whole,
// the same output for any -j, and files of graphs that are refused or
// partly skipped.
#include "cli_fixture.h"

namespace {

class Enumerate : public Cli {};

// Order, c-nets with order + 1 edges (A002840), perfect (A002839),
// imperfect (A002881), perfect squares (A006983), imperfect squares (A002962).
const char* const published_counts =
    "order\tc-nets\tperfect\timperfect\tperfect squares\timperfect squares\n"
    "5\t1\t0\t0\t0\t0\n6\t0\t0\t0\t0\t0\n7\t1\t0\t0\t0\t0\n8\t2\t0\t0\t0\t0\n"
    "9\t2\t2\t1\t0\t0\n10\t4\t6\t0\t0\t0\n11\t12\t22\t0\t0\t0\n12\t22\t67\t9\t0\t0\n"
    "13\t58\t213\t34\t0\t1\n14\t158\t744\t104\t0\t0\n15\t448\t2609\t283\t0\t3\n"
    "16\t1342\t9016\t953\t0\t5\n17\t4199\t31426\t3029\t0\t15\n";

TEST_F(Enumerate, CountsAreThePublishedOnesAndOrderNineIsItsCatalogue)
{
    const result counts = run("--enumerate 5-17 --count -j 2");
    EXPECT_EQ(counts.status, 0) << counts.err;
    EXPECT_EQ(counts.out, published_counts);
    const std::pair<const char*, const char*> catalogues[] = {
        {"--enumerate 9",
         "9 33 32 (18,15)(7,8)(14,4)(10,1)(9)\n9 69 61 (36,33)(5,28)(25,9,2)(7)(16)\n"},
        {"--enumerate 9 --imperfect", "9 15 11 (6,4,5)(3,1)(6)(5,1)(4)\n"},
        {"--enumerate 9-12 --squares", ""},
        // A kind counted alone; the columns it did not fill say so.
        {"--enumerate 12-13 --count --imperfect",
         "order\tc-nets\tperfect\timperfect\tperfect squares\timperfect squares\n"
         "12\t22\t-\t9\t-\t0\n13\t58\t-\t34\t-\t1\n"},
        {"--enumerate 13 --count --squares --imperfect",
         "order\tc-nets\tperfect\timperfect\tperfect squares\timperfect squares\n"
         "13\t58\t-\t-\t-\t1\n"},
    };
    // Orders with nothing to find say so, and the run is no failure.
    const result none = run("--enumerate 7-9 --squares");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.err,
              "squares2tex: note: no simple perfect squared square has order 7\n"
              "squares2tex: note: no simple perfect squared square has order 8\n"
              "squares2tex: note: no simple perfect squared square has order 9\n");
    for (const auto& [arguments, codes] : catalogues) {
        const result r = run(arguments);
        EXPECT_EQ(r.status, 0) << arguments << r.err;
        EXPECT_EQ(r.out, codes) << arguments;
    }
}

TEST_F(Enumerate, EveryCodeChecksAsTheKindAskedFor)
{
    for (const std::string kind : {"", "--imperfect ", "--imperfect --squares "}) {
        SCOPED_TRACE(kind);
        const result codes = run(kind + "--enumerate 9-15", "", (work_ / "codes.txt").string());
        ASSERT_EQ(codes.status, 0);
        const result table = run("--check --catalogue codes.txt");
        EXPECT_EQ(table.status, 0) << table.err;
        std::istringstream rows(table.out);
        std::string row;
        std::getline(rows, row);
        int checked = 0;
        const std::string verdict = kind.empty() ? "\tyes\tyes\tyes\t-" : "\tyes\tno\tyes\t-";
        for (; std::getline(rows, row); ++checked) {
            EXPECT_NE(row.find(verdict), std::string::npos) << row;
            if (kind.find("squares") != std::string::npos) {
                std::istringstream fields(row);
                std::string c, line, order, width, height;
                fields >> c >> line >> order >> width >> height;
                EXPECT_EQ(width, height) << row;
            }
        }
        EXPECT_EQ(checked, kind.empty() ? 2 + 6 + 22 + 67 + 213 + 744 + 2609
                                        : kind.size() < 15 ? 1 + 9 + 34 + 104 + 283 : 1 + 3);
    }
}

TEST_F(Enumerate, PartsMergeIntoTheWholeAndThreadsChangeNothing)
{
    for (const std::string kind : {"", "--imperfect "}) {
        const std::string whole = run(kind + "--enumerate 12-15 -j 1").out;
        ASSERT_FALSE(whole.empty());
        EXPECT_EQ(run(kind + "--enumerate 12-15 -j 2").out, whole);
        EXPECT_EQ(run(kind + "--enumerate 12-15 -j 3").out, whole);
        EXPECT_EQ(run(kind + "--enumerate 12-15 -o codes.txt").out, "");
        EXPECT_EQ(read_file(work_ / "codes.txt"), whole);
        // The merge line of the reference, over five parts.
        for (int k = 1; k <= 5; ++k) {
            run(kind + "--enumerate 12-15 --part " + std::to_string(k) + "/5", "",
                (work_ / ("part" + std::to_string(k))).string());
        }
        const std::string keys = "LC_ALL=C sort -k1,1n -k2,2n -k3,3n -k4 -u ";
        EXPECT_EQ(shell(keys + "-m part1 part2 part3 part4 part5 >merged"), "");
        EXPECT_EQ(read_file(work_ / "merged"), whole) << kind;
        // The whole is in the keys' order: by order, then the sides, then the code.
        EXPECT_EQ(shell(keys + "-c codes.txt"), "") << kind;
    }
    // The reference's GNU parallel line, on this machine only.
    const std::string whole = run("--enumerate 14").out;
    const std::string line = "parallel --will-cite --sshlogin : \"$tool\" --enumerate 14 --part "
                             "{}/8 ::: $(seq 8) | LC_ALL=C sort -u -k1,1n -k2,2n -k3,3n -k4 >parallel.txt";
    if (shell("command -v parallel >/dev/null || echo missing >&2").empty()) {
        EXPECT_EQ(shell(line), "");
        EXPECT_EQ(read_file(work_ / "parallel.txt"), whole);
    }
}

TEST_F(Enumerate, GraphFilesAreSkippedInPartOrRefusedWhole)
{
    const std::string head = ">>planar_code<<";
    const std::string k4 = std::string("\4\2\4\3\0\3\4\1\0\1\4\2\0\1\2\3\0", 17);
    const std::string square = std::string("\4\2\4\0\1\3\0\2\4\0\3\1\0", 13);
    write_file(work_ / "some.pc", head + k4 + square + square + k4);
    const result some = run("--graphs some.pc --count");
    EXPECT_EQ(some.status, 0);
    EXPECT_EQ(some.out, std::string(published_counts, 65) + "5\t2\t0\t0\t0\t0\n");
    EXPECT_EQ(some.err,
              "squares2tex: some.pc: skipped 2 of 4 graphs, not c-nets: 2 not 3-connected, "
              "0 not simple\n");
    keep_previous_document();
    write_file(work_ / "cut.pc", head + k4 + k4 + k4.substr(0, 5));
    expect_failure(run("--graphs - -o squares.tex", "", "", (work_ / "cut.pc").string()),
                   {"squares2tex: (standard input): graph 3: the file ends inside the graph"});
    // Files joined as cat joins them; an empty one; one endless list of neighbours.
    write_file(work_ / "joined.pc", head + k4 + square + head + k4);
    EXPECT_EQ(run("--graphs joined.pc --count").out,
              std::string(published_counts, 65) + "5\t2\t0\t0\t0\t0\n");
    write_file(work_ / "empty.pc", "");
    expect_failure(run("--graphs empty.pc -o squares.tex"),
                   {"squares2tex: empty.pc: no graphs and no header"});
    write_file(work_ / "endless.pc", head + "\xff" + std::string(4 << 20, '\1'));
    expect_failure(run("--graphs endless.pc -o squares.tex"),
                   {"endless.pc: graph 1: more than 1536 neighbours in all"});
    write_file(work_ / "torus.pc",
               head + k4 + std::string("\4\2\3\4\0\3\4\1\0\4\1\2\0\1\2\3\0", 17));
    expect_failure(run("--graphs torus.pc -j 2"), {"torus.pc: graph 2: not a plane embedding"});
}

}  // namespace
