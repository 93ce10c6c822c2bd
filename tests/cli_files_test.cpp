// A catalogue's directory drawn again and again: what a re-run removes (only
// what the record of the run before lists), two runs at once, signals on
// every thread, and a system without /proc.
#include <csignal>
#include <map>
#include <thread>

#include "cli_fixture.h"

namespace {

class Files : public Cli {};

const std::string record = ".squares2tex-made";
const std::string journal = ".squares2tex-made.journal";

// What a directory holds: each entry's kind and contents, by name.
std::map<std::string, std::string> snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> held;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::string& what = held[e.path().filename().string()];
        if (e.is_symlink()) {
            what = "link to " + fs::read_symlink(e.path()).string();
        } else if (e.is_directory()) {
            what = "directory";
        } else {
            what = read_file(e.path());
        }
    }
    return held;
}

// The names the directory's record lists: none without one.
std::set<std::string> recorded(const fs::path& dir)
{
    std::istringstream lines(read_file(dir / record));
    std::set<std::string> names;
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) names.insert(line);
    return names;
}

// Each row prepares d, runs once more into it, and names what that run
// removes. Every other file not in the new record stays as it was; every
// recorded name is there.
TEST_F(Files, ReRunsRemoveOnlyWhatTheRecordLists)
{
    write_file(work_ / "three.txt", "9 33 32 18 15 7 8 14 4 10 1 9\n3 3 2 2 1 1\n4 2 2 1 1 1 1\n");
    write_file(work_ / "one.txt", "3 3 2 2 1 1\n");
    write_file(work_ / "kept.txt", "outside");
    const std::string three = "\"$tool\" -f svg -d . --catalogue ../three.txt; ";
    struct row {
        const char* what;
        std::string before;  // in d
        std::string prefix;  // of the run, in the shell
        std::string arguments;
        std::string input;
        int status;
        std::set<std::string> removed;
        bool same_record;  // nothing is written: the record and its files stay as they were
        bool keeps_listed;  // every name the record listed stays listed
    };
    const std::string svg_one = "-f svg -d d --catalogue one.txt";
    const row rows[] = {
        {"a record from the run before",
         three + "echo mine >notes.txt; echo mine >000009-1-1x1.svg; echo mine >page-000007.html; "
                 "mkdir 000004-2-2x2.svg; ln -s ../../kept.txt 000008-1-1x1.svg",
         "", svg_one, "/dev/null", 0,
         {"000001-9-33x32.svg", "000002-3-3x2.svg", "000003-4-2x2.svg", "perfect-000001.html",
          "simple-000001.html"},
         false, false},
        {"no record",
         "for n in 000001-3-3x2.svg 000002-1-1x1.svg index.html page-000002.html; do "
         "echo mine >$n; done",
         "", svg_one, "/dev/null", 0, {}, false, false},
        {"a failed write", "\"$tool\" -d . --catalogue ../three.txt; echo mine >notes.txt",
         "trap '' XFSZ; ulimit -f 1;", "-d d --catalogue three.txt", "/dev/null", 1, {}, true,
         false},
        {"a user's index.html beside pdf drawings",
         "echo mine >index.html; echo mine >page-000001.html; "
         "\"$tool\" -f pdf -d . --catalogue ../three.txt",
         "", "-f pdf -d d --catalogue one.txt", "/dev/null", 0,
         {"000001-9-33x32.pdf", "000002-3-3x2.pdf", "000003-4-2x2.pdf"}, false, false},
        // Where the run's temporary names once were: the run's own process
        // number and a descriptor.
        {"a taken temporary name", three,
         "for n in 000001-9-33x32.svg 000002-3-3x2.svg index.html page-000001.html; do "
         "for fd in $(seq 3 40); do echo mine >d/$n.$$-$fd.tmp; done; done; exec",
         "-j2 -f svg -d d --catalogue three.txt", "/dev/null", 0, {}, false, false},
        {"standard input under a recorded name it does not write",
         three + "cp ../one.txt 000003-4-2x2.svg", "", "-f svg -d d --catalogue -",
         "d/000003-4-2x2.svg", 0,
         {"000001-9-33x32.svg", "000002-3-3x2.svg", "perfect-000001.html", "simple-000001.html"},
         false, false},
        {"standard input under a name it writes", "cp ../three.txt 000002-3-3x2.svg", "",
         "-f svg -d d --catalogue -", "d/000002-3-3x2.svg", 1, {}, false, false},
        {"a record listing a name twice", three + "sed -i 3p " + record, "", svg_one, "/dev/null",
         0, {}, false, true},
        {"a record out of order", three + "sed -i '2{h;d};3G' " + record, "", svg_one,
         "/dev/null", 0, {}, false, true},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        fs::remove_all(work_ / "d");
        fs::create_directory(work_ / "d");
        shell("cd d && " + r.before);
        const auto before = snapshot(work_ / "d");
        const std::set<std::string> listed_before = recorded(work_ / "d");
        const result got = run(r.arguments, r.prefix, "", r.input);
        EXPECT_EQ(got.status, r.status) << got.err;
        const auto after = snapshot(work_ / "d");
        const std::set<std::string> listed = recorded(work_ / "d");
        for (const std::string& name : listed) EXPECT_EQ(after.count(name), 1u) << name;
        for (const auto& [name, was] : before) {
            if (name == record) continue;
            const auto now = after.find(name);
            if (r.removed.count(name) != 0) {
                EXPECT_TRUE(now == after.end() && listed_before.count(name) != 0) << name;
            } else if (listed.count(name) == 0 || r.same_record) {
                EXPECT_TRUE(now != after.end() && now->second == was) << name;
            }
        }
        // The files a row plants in the shell, at the run's own temporary names, stay too.
        // A run that ends on a failed write leaves its journal for the next run.
        std::size_t planted = 0;
        for (const auto& [name, is] : after) {
            const bool own = name == record || (name == journal && r.status != 0);
            planted += before.count(name) == 0 && listed.count(name) == 0 && !own;
            EXPECT_TRUE(before.count(name) + listed.count(name) != 0 || own || is == "mine\n")
                << name;
        }
        EXPECT_EQ(planted, r.prefix.find("seq 3 40") != std::string::npos ? 4u * 38 : 0u);
        if (r.same_record) {
            EXPECT_EQ(listed, listed_before);
        }
        if (r.keeps_listed) {
            for (const std::string& name : listed_before) EXPECT_EQ(listed.count(name), 1u) << name;
            EXPECT_NE(got.err.find("warning: d/" + record + " lists a name twice or out of order"),
                      std::string::npos)
                << got.err;
        }
        // The closing line, when there is one, agrees with the status.
        if (got.out.find("Created") != std::string::npos) {
            EXPECT_EQ(got.out.find("successfully") != std::string::npos, got.status == 0)
                << got.out;
        }
    }
    EXPECT_EQ(read_file(work_ / "kept.txt"), "outside");
}

// Two runs into one directory at once: one waits for the other, and the
// directory then holds the later one's drawings, whole, and nothing of the
// earlier one's but what the user put there.
TEST_F(Files, RunsIntoOneDirectoryTakeTurns)
{
    std::string ones, fours;
    for (int i = 0; i < 600; ++i) {
        ones += "1 1 1 1\n";
        fours += "4 2 2 1 1 1 1\n";
    }
    write_file(work_ / "ones.txt", ones);
    write_file(work_ / "fours.txt", fours);
    for (const char* name : {"ones", "fours"}) {
        const std::string catalogue = std::string(name) + ".txt";
        ASSERT_EQ(run("-f svg -d alone-" + std::string(name) + " --catalogue " + catalogue).status, 0);
    }
    const auto ones_alone = snapshot(work_ / "alone-ones");
    const auto fours_alone = snapshot(work_ / "alone-fours");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        fs::remove_all(work_ / "d");
        shell("mkdir d; echo mine >d/notes.txt; "
              "for c in ones fours; do (\"$tool\" -j2 -f svg -d d --catalogue $c.txt; "
              "echo $? >$c.status) & done; wait");
        EXPECT_EQ(read_file(work_ / "ones.status"), "0\n");
        EXPECT_EQ(read_file(work_ / "fours.status"), "0\n");
        auto held = snapshot(work_ / "d");
        EXPECT_EQ(held["notes.txt"], "mine\n");
        held.erase("notes.txt");
        EXPECT_TRUE(held == ones_alone || held == fours_alone) << held.size() << " files";
    }
}

// A signal at some point of a run on more threads than cores, SIGTERM or
// SIGINT, each run going on from what the one before left: no temporary
// file stays, and every file there is one a whole run makes, whole. The
// signal comes as a worker, which blocks it, names a drawing: the moment a
// handler that cleans up too soon would miss a file.
TEST_F(Files, SignalsOnEveryThreadLeaveNoTemporaryFile)
{
    std::string text;
    for (int i = 0; i < 1200; ++i) text += i % 24 == 0 ? "x\n" : "4 2 2 1 1 1 1\n";
    write_file(work_ / "cat.txt", text);
    run("-f svg -d whole --catalogue cat.txt");
    const auto whole = snapshot(work_ / "whole");
    const std::string arguments = "-j " + std::to_string(std::thread::hardware_concurrency() + 2) +
                                  " -f svg -d d --catalogue cat.txt";
    for (int trial = 0; trial < 10; ++trial) {
        const int signal_number = trial % 2 == 0 ? SIGTERM : SIGINT;
        // 1150 drawings, one link each when new and two when replacing:
        // the last signal comes at the 892nd link, well before the end.
        const std::string at = std::to_string(signal_number) + " linkat " +
                               std::to_string(1 + trial * trial * 11);
        SCOPED_TRACE(at);
        EXPECT_EQ(run_interrupted(arguments, at).status, 128 + signal_number);
        if (!fs::exists(work_ / "d")) continue;
        for (const auto& [name, held] : snapshot(work_ / "d")) {
            if (name == journal) continue;  // the names the next run folds into its record
            const auto made = whole.find(name);
            ASSERT_TRUE(made != whole.end() && made->second == held) << name;
        }
    }
}

// A bigger run into a directory that ends before it writes its record (a
// signal, SIGKILL at a chosen call, a full disk), then the small run
// again: the directory holds what the small run makes alone, and the
// user's file, whatever the bigger run had made by then.
TEST_F(Files, RunsEndedBeforeTheirRecordLoseNoName)
{
    std::string big;
    for (int i = 0; i < 1500; ++i) big += "4 2 2 1 1 1 1\n";
    write_file(work_ / "big.txt", big);
    write_file(work_ / "small.txt", "3 3 2 2 1 1\n");
    const std::string small = "-f svg -d d --catalogue small.txt";
    ASSERT_EQ(run("-f svg -d alone --catalogue small.txt").status, 0);
    auto alone = snapshot(work_ / "alone");
    alone["notes.txt"] = "mine\n";
    struct row {
        const char* at;      // the signal, for signal_at.cpp
        const char* prefix;  // or the limit, in the shell
        int status;
    };
    // 1500 drawings, one link each: the signal comes at the 400th. A file
    // of 24 KiB holds the journal's first thousand names or so.
    const row rows[] = {{"2 linkat 400", "", 130},
                        {"15 linkat 400", "", 143},
                        {"9 linkat 400", "", 137},
                        {"", "trap '' XFSZ; ulimit -f 24;", 1}};
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.at) + r.prefix);
        fs::remove_all(work_ / "d");
        ASSERT_EQ(run(small).status, 0);
        write_file(work_ / "d" / "notes.txt", "mine\n");
        const std::string bigger = "-j2 -f svg -d d --catalogue big.txt";
        const result got = *r.at ? run_interrupted(bigger, r.at) : run(bigger, r.prefix);
        EXPECT_EQ(got.status, r.status) << got.err;
        EXPECT_GT(snapshot(work_ / "d").size(), 400u);
        ASSERT_EQ(run(small).status, 0);
        EXPECT_EQ(snapshot(work_ / "d"), alone);
    }
}

// The directory moved aside mid-run and a new one made in its place: the
// run's files, record included, all go where it started, and the new one
// gets none of them.
TEST_F(Files, ADirectoryMovedMidRunKeepsTheRunsFiles)
{
    std::string big;
    for (int i = 0; i < 300; ++i) big += "4 2 2 1 1 1 1\n";
    write_file(work_ / "big.txt", big);
    ASSERT_EQ(run("-f svg -d alone --catalogue big.txt").status, 0);
    tool_ = SQUARES2TEX_DYNAMIC;
    const result got = run("-j2 -f svg -d d --catalogue big.txt",
                           "MOVE_DIRECTORY=d SIGNAL_AT='0 linkat 100' LD_PRELOAD='" SIGNAL_AT_LIBRARY
                           "' ASAN_OPTIONS=verify_asan_link_order=0");
    tool_ = SQUARES2TEX_EXE;
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_TRUE(fs::is_empty(work_ / "d"));
    EXPECT_EQ(snapshot(work_ / "d.old"), snapshot(work_ / "alone"));
}

// Standard output into the directory is the user's file: never removed as
// stale, and a run that would replace it with a drawing or its record is
// refused.
TEST_F(Files, StandardOutputInTheDirectoryIsTheUsers)
{
    write_file(work_ / "three.txt", "9 33 32 18 15 7 8 14 4 10 1 9\n3 3 2 2 1 1\n4 2 2 1 1 1 1\n");
    write_file(work_ / "one.txt", "3 3 2 2 1 1\n");
    struct row {
        const char* catalogue;
        std::string out;  // in d
        int status;
    };
    const row rows[] = {{"one.txt", "000003-4-2x2.svg", 0},
                        {"three.txt", "000002-3-3x2.svg", 2},
                        {"three.txt", record, 2},
                        {"three.txt", journal, 2}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.out);
        fs::remove_all(work_ / "d");
        ASSERT_EQ(run("-f svg -d d --catalogue three.txt").status, 0);
        const result got =
            run("--check -f svg -d d --catalogue " + std::string(r.catalogue), "", "d/" + r.out);
        EXPECT_EQ(got.status, r.status) << got.err;
        const std::string table = read_file(work_ / "d" / r.out);
        EXPECT_EQ(table.rfind("case\tline", 0), 0u) << table;
        if (r.status == 2) {
            EXPECT_NE(got.err.find("standard output is d/" + r.out), std::string::npos) << got.err;
        }
    }
}

// Without /proc (a chroot, a container), a new file cannot be linked into
// place from its descriptor: it is written under a temporary name instead.
TEST_F(Files, NewFilesWithoutProc)
{
    const std::string namespaced = "unshare -m --propagation private sh -c '";
    const std::string tool = "\"$0\"";
    if (std::system((namespaced + "mount -t tmpfs none /proc' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "cannot mount over /proc in a mount namespace of its own here";
    write_file(work_ / "case.txt", "3 3 2 2 1 1");
    write_file(work_ / "cat.txt", "3 3 2 2 1 1\n4 2 2 1 1 1 1\n");
    // A sanitized build reads its options from /proc/self/environ: there
    // they leave out the leak check, which needs the real /proc.
    const std::string err = shell(namespaced + "mount -t tmpfs none /proc && mkdir /proc/self && "
                                  "printf \"ASAN_OPTIONS=detect_leaks=0\\0\" >/proc/self/environ && "
                                  "test ! -e /proc/self/fd && " +
                                  tool + " case.txt && " + tool + " case.txt && " + tool +
                                  " -f svg -d d --catalogue cat.txt && " + tool +
                                  " -f svg -d d --catalogue cat.txt && echo done >&2' \"$tool\"");
    EXPECT_NE(err.find("done\n"), std::string::npos) << err;
    EXPECT_EQ(document(), three_squares_document);
    EXPECT_EQ(recorded(work_ / "d").size(), 6u);
    for (const char* dir : {"", "d"}) {
        for (const std::string& name : files_in_work(dir))
            EXPECT_EQ(name.find(".tmp"), name.npos) << name;
    }
}

}  // namespace
