// Reads arbitrary bytes as planar_code, as --graphs does: every graph is
// read, judged (c-net, other graph, or no plane embedding) and, if a c-net
// of modest size, solved with every edge as the battery. A file may be
// refused with a message; nothing may crash, and every rectangle found
// must read back as a simple dissection with the kind it was found as, and
// a run for squares alone must find the same squares.
// The bytes joined to themselves, as cat joins two files, read as twice
// the graphs when they read whole on their own.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "analysis/case_check.h"
#include "enumeration/planar_code.h"
#include "enumeration/solve_graph.h"
#include "reading/read_case.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

// Each line of `lines` read back as a case.
void read_back(const std::string& lines, bool perfect)
{
    std::size_t start = 0;
    while (start < lines.size()) {
        const std::size_t end = lines.find('\n', start);
        std::string line = lines.substr(start, end - start);
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
            fmemopen(&line[0], line.size(), "r"), &std::fclose);
        require(in != nullptr);
        const square_case c = read_case_from(in.get());
        const case_verdict v = check_case(c);
        require(v.dissection && v.simple && v.perfect == perfect);
        start = end + 1;
    }
}

// The graphs of `bytes` read to the end, or -1 when the file is refused.
std::int64_t graphs_in(std::string bytes)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(fmemopen(&bytes[0], bytes.size(), "rb"),
                                                       &std::fclose);
    require(in != nullptr);
    planar_code_reader reader(in.get());
    plane_graph g;
    try {
        while (reader.next(g)) require(!g.rotation.empty() && g.rotation.size() <= 65535);
    } catch (const conversion_error&) {
        return -1;
    }
    return reader.graphs();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::int64_t alone = graphs_in(bytes);
    if (alone >= 0 && bytes.compare(0, 13, ">>planar_code") == 0)
        require(graphs_in(bytes + bytes) == 2 * alone);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(fmemopen(&bytes[0], size, "rb"),
                                                       &std::fclose);
    if (!in) return 0;
    planar_code_reader reader(in.get());
    plane_graph g;
    solve_scratch scratch;
    const bool all[kinds] = {true, true, true, true};
    try {
        while (reader.next(g)) {
            std::string problem;
            const graph_kind kind = check_plane_graph(g, scratch.darts, problem);
            require(kind != graph_kind::not_embedding || !problem.empty());
            if (kind != graph_kind::c_net || scratch.darts.head.size() > 2 * 30) continue;
            found_codes found;
            if (!solve_cnet(scratch, all, false, found, problem)) continue;
            read_back(found.lines[perfect_oblong] + found.lines[perfect_square], true);
            read_back(found.lines[imperfect_oblong] + found.lines[imperfect_square], false);
            // A squares run screens before it solves: it finds the same squares.
            const bool squares[kinds] = {false, true, false, true};
            found_codes only;
            require(solve_cnet(scratch, squares, false, only, problem));
            require(only.lines[perfect_square] == found.lines[perfect_square] &&
                    only.lines[imperfect_square] == found.lines[imperfect_square]);
        }
    } catch (const conversion_error&) {
    }
    return 0;
}
