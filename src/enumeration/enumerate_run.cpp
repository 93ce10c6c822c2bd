#include "enumeration/enumerate_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "analysis/dissection_net.h"
#include "catalogue/code_stats.h"
#include "catalogue/in_order.h"
#include "catalogue/progress.h"
#include "document/document.h"
#include "enumeration/canonical_code.h"
#include "enumeration/cnet_feed.h"
#include "enumeration/code_lines.h"
#include "enumeration/compound_run.h"
#include "enumeration/enumerate_cost.h"
#include "enumeration/graph_batch.h"
#include "enumeration/planar_code.h"
#include "enumeration/solve_batch.h"
#include "reading/input_file.h"

namespace {

// Graphs a batch: enough to keep a thread busy for a while.
constexpr std::size_t batch_graphs = 256;
constexpr std::size_t most_bytes_in_flight = 64 << 20;
constexpr std::size_t written_at_once = 1 << 20;

struct run_settings {
    bool wanted[kinds] = {};
    bool from_file = false;
};

// The kinds a run keeps: --count without a kind counts them all, with
// --squares or --imperfect only those asked for (the others cost the most).
run_settings settings_of(const enumeration_request& o)
{
    run_settings s;
    s.from_file = !o.graphs.empty();
    const bool every_kind = o.count && !o.imperfect && !o.squares;
    for (int kind = 0; kind < kinds; ++kind) {
        const bool imperfect = kind >= imperfect_oblong;
        const bool square = kind == perfect_square || kind == imperfect_square;
        s.wanted[kind] = every_kind || (imperfect == o.imperfect && (square || !o.squares));
    }
    return s;
}

const char* const count_header =
    "order\tc-nets\tperfect\timperfect\tperfect squares\timperfect squares\n";

// What the writer gathers.
struct run_totals {
    // Each batch's text as it came: moved, never copied into one string.
    std::vector<std::string> lines[kinds];
    std::map<int, std::int64_t> counted[kinds];  // without their codes, by order
    std::map<int, std::int64_t> cnets;
    std::int64_t graphs = 0;
    std::int64_t not_simple = 0;
    std::int64_t not_3_connected = 0;

    void add(graph_batch& b)
    {
        if (!b.error.empty()) throw conversion_error(b.error);
        for (int kind = 0; kind < kinds; ++kind) {
            if (!b.found.lines[kind].empty()) lines[kind].push_back(std::move(b.found.lines[kind]));
            for (const auto& c : b.found.counted[kind]) counted[kind][c.first] += c.second;
        }
        for (const auto& c : b.cnets) cnets[c.first] += c.second;
        graphs += static_cast<std::int64_t>(b.size());
        not_simple += b.not_simple;
        not_3_connected += b.not_3_connected;
    }

    void clear_codes()
    {
        for (std::vector<std::string>& l : lines) std::vector<std::string>().swap(l);
        for (std::map<int, std::int64_t>& c : counted) c.clear();
    }
};

// Standard output or -o FILE, written in pieces of a megabyte.
// With --stats the codes are counted instead, and the table written at the end.
struct code_output {
    output_stream& out;
    std::unique_ptr<document> file;
    std::string piece;
    std::unique_ptr<code_stats> stats;

    void add(std::string_view text)
    {
        if (stats) return stats->feed(text);
        piece += text;
        if (piece.size() >= written_at_once) flush();
    }
    void flush()
    {
        if (file) {
            write_text(*file, piece);
        } else {
            print_out(out, piece);
        }
        piece.clear();
    }
};

// The codes of the kinds wanted, or the rows of --count for `orders`.
void write_found(const enumeration_request& o, const run_settings& settings, run_totals& totals,
                 const std::vector<int>& orders, code_output& output)
{
    if (!o.count) {
        std::vector<const std::string*> texts;
        for (int kind = 0; kind < kinds; ++kind) {
            if (!settings.wanted[kind]) continue;
            for (const std::string& text : totals.lines[kind]) texts.push_back(&text);
        }
        canonical_scratch scratch;
        check_workspace work;
        std::string with_net;
        for (const std::string_view line : sorted_lines(texts)) {
            if (o.with_net) {
                with_net.clear();
                append_line_with_net(line, scratch, work, with_net);
                output.add(with_net);
            } else {
                output.add(line);
            }
            output.add("\n");
        }
        return;
    }
    // A part writes the codes it kept, for the merge to tell apart, and
    // counts only the rest (scripts/merge-counts.py adds them up).
    const bool part_run = o.part.n > 1;
    std::map<int, std::int64_t> found[kinds];
    std::string kept;
    for (int kind = 0; kind < kinds; ++kind) {
        std::vector<const std::string*> texts;
        for (const std::string& text : totals.lines[kind]) texts.push_back(&text);
        const char* const name = kind >= imperfect_oblong ? "imperfect\t" : "perfect\t";
        for (const std::string_view line : sorted_lines(texts)) {
            if (part_run) {
                kept.append(name).append(line) += '\n';
            } else {
                ++found[kind][order_of(line)];
            }
        }
        for (const auto& c : totals.counted[kind]) found[kind][c.first] += c.second;
    }
    // A column of kinds the run did not look for shows "-", not a false 0.
    const auto column = [&](int order, int a, int b) {
        if (!settings.wanted[a] || !settings.wanted[b]) return std::string("\t-");
        return '\t' + std::to_string(found[a][order] + (a == b ? 0 : found[b][order]));
    };
    for (const int order : orders) {
        output.add(std::to_string(order) + '\t' + std::to_string(totals.cnets[order + 1]) +
                   column(order, perfect_oblong, perfect_square) +
                   column(order, imperfect_oblong, imperfect_square) +
                   column(order, perfect_square, perfect_square) +
                   column(order, imperfect_square, imperfect_square) + '\n');
    }
    output.add(kept);
}

}  // namespace

int run_enumeration(const enumeration_request& o, file_system& files, output_stream& out)
{
    if (enumerates_compound(o)) return run_compound_enumeration(o, files, out);
    const run_settings settings = settings_of(o);
    const int jobs = o.jobs;
    std::vector<solve_scratch> scratch(static_cast<std::size_t>(std::max(1, jobs)));
    run_totals totals;
    const order_range range = settings.from_file ? order_range{} : o.orders;
    const catalogue_part part = o.part;
    // The published c-net counts give the total: the share done and the time left.
    const double cnets_total =
        settings.from_file ? -1 : cnets_to_solve(range.low, range.high, part.n);
    if (!settings.from_file) print_messages(cost_warnings(o, range.low, range.high, part.n));
    progress shown(static_cast<std::int64_t>(cnets_total),
                   settings.from_file ? "graphs" : "c-nets");
    std::int64_t cnets_done = 0;
    in_order_steps<graph_batch> steps;
    steps.work = [&](graph_batch& b, int worker) {
        solve_batch(b, settings.wanted, o.count, scratch[static_cast<std::size_t>(worker)]);
    };
    steps.write = [&](graph_batch& b) {
        totals.add(b);
        for (const auto& c : b.cnets) cnets_done += c.second;
        if (settings.from_file) {
            shown.update(totals.graphs);
        } else {
            shown.update(cnets_done, cnets_done);
        }
    };
    steps.size = [](const graph_batch& b) { return b.bytes; };
    code_output output{out, nullptr, {}, nullptr};
    if (!o.output.empty()) output.file = std::make_unique<document>(files, o.output);
    if (o.count && part.n > 1) {
        output.add("part\t" + std::to_string(part.k) + '/' + std::to_string(part.n) + '\n');
    }
    if (o.stats) output.stats = std::make_unique<code_stats>();
    if (o.count) output.add(count_header);

    if (!settings.from_file) {
        for (int order = range.low; order <= range.high; ++order) {
            feed_cnets(order + 1, part.k, part.n, jobs, batch_graphs, steps);
            shown.clear();
            bool found = false;
            for (int kind = 0; kind < kinds; ++kind)
                found = found || (settings.wanted[kind] && !totals.lines[kind].empty());
            write_found(o, settings, totals, {order}, output);
            totals.clear_codes();
            // A part may find nothing of an order that has some.
            if (!found && !o.count && !o.quiet && part.n == 1)
                print_messages(nothing_found_note(o, order));
        }
    } else {
        const std::string shown_name = input_name(o.graphs);
        const input_file graphs = open_input(o.graphs, "rb", "the graphs");
        planar_code_reader reader(graphs.stream);
        bool ended = false;
        steps.read = [&](graph_batch& b) {
            if (ended) return false;
            b = graph_batch{};
            b.from_file = true;
            b.step = part.n;
            try {
                plane_graph g;
                while (b.graphs.size() < batch_graphs && reader.next(g)) {
                    // Graph N of the file is part (N - 1) mod n + 1's.
                    if ((reader.graphs() - 1) % part.n != part.k - 1) continue;
                    if (b.graphs.empty()) b.first = reader.graphs();
                    for (const std::vector<int>& r : g.rotation) b.bytes += r.size() * sizeof(int);
                    b.graphs.push_back(std::move(g));
                }
                ended = b.graphs.size() < batch_graphs;
            } catch (const conversion_error& e) {
                b.error = e.what();
                ended = true;
            }
            return !b.graphs.empty() || !b.error.empty();
        };
        run_in_order(jobs, static_cast<std::size_t>(4 * jobs + 2), most_bytes_in_flight, steps);
        shown.clear();
        std::vector<int> orders;
        for (const auto& c : totals.cnets) orders.push_back(c.first - 1);
        write_found(o, settings, totals, orders, output);
        const std::int64_t skipped = totals.not_simple + totals.not_3_connected;
        if (skipped > 0) {
            print_message(shown_name, 0,
                          "skipped " + std::to_string(skipped) + " of " +
                              count_of(totals.graphs, "graph", "graphs") + ", not c-nets: " +
                              std::to_string(totals.not_3_connected) + " not 3-connected, " +
                              std::to_string(totals.not_simple) + " not simple");
        }
    }
    if (output.stats) {
        const std::string table = output.stats->result(o.stats_svg);
        output.stats.reset();
        output.add(table);
    }
    output.flush();
    if (output.file) close_document(*output.file);
    return 0;
}
