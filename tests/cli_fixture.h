// The built executable, run in a scratch directory: the fixture shared by
// the end-to-end tests.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "test_cases.h"

namespace fs = std::filesystem;

namespace {

const std::string confirmation = "\n - - - - - Created squares.tex successfully. - - - - - -\n";
const std::string previous_document = "the previous document\n";

struct result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_file(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/squares2tex-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        base_ = pattern;
        work_ = base_ / "work";
        fs::create_directory(work_);
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(work_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(base_, ignored);
        if (!reachable_.empty()) fs::remove_all(reachable_, ignored);
    }

    // Runs the tool in the scratch directory, `prefix` before it in the shell,
    // standard output to `out_to` when given and standard input from `in_from`.
    result run(const std::string& arguments, const std::string& prefix = "",
               const std::string& out_to = "", const std::string& in_from = "/dev/null")
    {
        const std::string out = out_to.empty() ? (base_ / "out").string() : out_to;
        const std::string command = "cd '" + work_.string() + "' && " + prefix + " '" +
                                    tool_ + "' " + arguments + " >'" + out + "' 2>'" +
                                    (base_ / "err").string() + "' <'" + in_from + "'";
        const int raw = std::system(command.c_str());
        result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
        r.out = out_to.empty() ? read_file(base_ / "out") : "";
        r.err = read_file(base_ / "err");
        return r;
    }

    // Runs the tool, linked dynamically, interrupted at a chosen system
    // call: `at` is "SIGNAL CALL N", as tests/signal_at.cpp reads it.
    result run_interrupted(const std::string& arguments, const std::string& at)
    {
        tool_ = SQUARES2TEX_DYNAMIC;
        const result r = run(arguments, "SIGNAL_AT='" + at + "' LD_PRELOAD='" SIGNAL_AT_LIBRARY
                                        "' ASAN_OPTIONS=verify_asan_link_order=0");
        tool_ = SQUARES2TEX_EXE;
        return r;
    }

    // Runs a shell script in the scratch directory, the tool as $tool;
    // returns what it writes on standard error.
    std::string shell(const std::string& script)
    {
        const std::string command = "cd '" + work_.string() + "' && tool='" + SQUARES2TEX_EXE +
                                    "' && { " + script + "\n} >/dev/null 2>'" +
                                    (base_ / "err").string() + "'";
        std::system(command.c_str());
        return read_file(base_ / "err");
    }

    std::string document() { return read_file(work_ / "squares.tex"); }
    void keep_previous_document() { write_file(work_ / "squares.tex", previous_document); }

    std::set<std::string> files_in_work(const fs::path& subdirectory = "")
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(work_ / subdirectory))
            names.insert(entry.path().filename().string());
        return names;
    }

    // A failed run: status 1 (or as given), one message on standard error
    // holding every expected piece, after the warnings gathered before it
    // (a usage line follows for status 2), nothing on standard output, and
    // the previous document untouched with no temporary file left beside it.
    void expect_failure(const result& r, const std::vector<std::string>& pieces, int status = 1)
    {
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.out, "");
        std::istringstream lines(r.err);
        int messages = 0;
        std::string last;
        for (std::string line; std::getline(lines, line); last = line)
            messages += line.find(": warning: ") == std::string::npos;
        // A usage error adds the usage line, and for an unknown option a hint.
        EXPECT_EQ(messages, status == 2 ? 2 + (r.err.find("Try 'squares2tex --help'") !=
                                               std::string::npos)
                                        : 1)
            << r.err;
        EXPECT_TRUE(status == 2 || last.find(": warning: ") == std::string::npos) << r.err;
        for (const std::string& name : files_in_work())
            EXPECT_NE(name.rfind("squares.tex.", 0), 0u) << "left behind: " << name;
        for (const std::string& piece : pieces)
            EXPECT_NE(r.err.find(piece), std::string::npos)
                << "missing \"" << piece << "\" in " << r.err;
        EXPECT_EQ(document(), previous_document);
    }

    // Permissions do not hold root back, so as root the tool runs as
    // nobody: a copy of it, in a directory of its own that nobody can
    // reach wherever the build is (CI builds in a directory only root
    // enters). Empty when no other user can run it here.
    std::optional<std::string> unprivileged()
    {
        if (geteuid() != 0) return std::string();
        char pattern[] = "/tmp/squares2tex-tool-XXXXXX";
        if (mkdtemp(pattern) == nullptr) return std::nullopt;
        reachable_ = pattern;
        const fs::path copy = reachable_ / "squares2tex";
        std::error_code failed;
        fs::copy_file(SQUARES2TEX_EXE, copy, failed);
        fs::permissions(reachable_, fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
        if (failed) return std::nullopt;
        tool_ = copy.string();
        const std::string prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups";
        const std::string probe = prefix + " test -x '" + tool_ + "' 2>/dev/null";
        if (std::system(probe.c_str()) != 0) return std::nullopt;
        return prefix;
    }

    std::string tool_ = SQUARES2TEX_EXE;
    fs::path reachable_;  // the copy of the tool that nobody runs, if made
    fs::path base_;
    fs::path work_;
};

}  // namespace
