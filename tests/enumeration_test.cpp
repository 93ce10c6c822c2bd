// The enumeration's pieces against small models: random c-nets give
// rectangles whose codes, replayed, tile them, with the spanning trees
// counted one by one as the full sides; and the planar_code reader's
// verdicts on good, odd and hostile files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/simple_test.h"
#include "enumeration/canonical_code.h"
#include "enumeration/cnet_generator.h"
#include "enumeration/enumerate_cost.h"
#include "enumeration/planar_code.h"
#include "enumeration/solve_batch.h"
#include "enumeration/solve_graph.h"

namespace {

// The tetrahedron as nauty-planarg -p writes it.
const plane_graph tetrahedron{{{1, 3, 2}, {2, 3, 0}, {0, 3, 1}, {0, 1, 2}}};

bool is_cnet(const plane_graph& g)
{
    plane_darts d;
    std::string problem;
    return check_plane_graph(g, d, problem) == graph_kind::c_net;
}

// A random c-net: a random stacked triangulation, then edges taken away
// while it stays 3-connected.
plane_graph random_cnet(std::mt19937_64& random, int vertices)
{
    plane_graph g = tetrahedron;
    while (static_cast<int>(g.rotation.size()) < vertices) {
        // Into the face u v w left of u -> v: w follows u around v.
        const int u = static_cast<int>(random() % g.rotation.size());
        auto& around_u = g.rotation[u];
        const int v = around_u[random() % around_u.size()];
        auto& around_v = g.rotation[v];
        const auto at_u = std::find(around_v.begin(), around_v.end(), u) - around_v.begin();
        const int w = around_v[(at_u + 1) % around_v.size()];
        const int x = static_cast<int>(g.rotation.size());
        const auto insert_after = [&](int at, int after) {
            auto& r = g.rotation[at];
            r.insert(std::find(r.begin(), r.end(), after) + 1, x);
        };
        insert_after(v, u);
        insert_after(w, v);
        insert_after(u, w);
        g.rotation.push_back({u, w, v});
        if (!is_cnet(g)) g.rotation.back() = {u, v, w};
    }
    for (int tries = static_cast<int>(random() % 20); tries > 0; --tries) {
        const int u = static_cast<int>(random() % g.rotation.size());
        const int v = g.rotation[u][random() % g.rotation[u].size()];
        plane_graph h = g;
        for (const auto& [a, b] : {std::pair<int, int>{u, v}, {v, u}}) {
            auto& r = h.rotation[a];
            r.erase(std::find(r.begin(), r.end(), b));
        }
        if (is_cnet(h)) g = h;
    }
    return g;
}

// The spanning trees, one edge set at a time: all of them, and per edge
// those that hold it.
std::vector<long long> count_trees(const plane_darts& d, long long& all)
{
    std::vector<std::pair<int, int>> edges;
    for (std::size_t e = 0; e < d.head.size(); ++e) {
        if (static_cast<int>(e) < d.reverse[e]) edges.emplace_back(d.tail[e], d.head[e]);
    }
    const int n = static_cast<int>(d.first.size()) - 1;
    const int m = static_cast<int>(edges.size());
    std::vector<long long> holding(m, 0);
    all = 0;
    std::vector<bool> chosen(m, false);
    std::fill(chosen.begin(), chosen.begin() + (n - 1), true);
    do {
        std::vector<int> root(n);
        std::iota(root.begin(), root.end(), 0);
        const auto find = [&](int v) {
            while (root[v] != v) v = root[v] = root[root[v]];
            return v;
        };
        bool tree = true;
        for (int e = 0; e < m && tree; ++e) {
            if (!chosen[e]) continue;
            const int a = find(edges[e].first);
            const int b = find(edges[e].second);
            tree = a != b;
            root[a] = b;
        }
        if (!tree) continue;
        ++all;
        for (int e = 0; e < m; ++e) holding[e] += chosen[e] ? 1 : 0;
    } while (std::prev_permutation(chosen.begin(), chosen.end()));
    return holding;
}

TEST(Enumeration, RandomCnetsGiveRectanglesThatTileWithTheirTreesAsSides)
{
    std::mt19937_64 random(22);
    int rectangles = 0;
    int crosses = 0;
    for (int round = 0; round < 150; ++round) {
        const plane_graph g = random_cnet(random, 4 + round % 5);
        solve_scratch s;
        std::string problem;
        ASSERT_EQ(check_plane_graph(g, s.darts, problem), graph_kind::c_net);
        ASSERT_TRUE(solve_currents(s.darts, s.currents, problem)) << problem;
        long long trees = 0;
        const std::vector<long long> holding = count_trees(s.darts, trees);
        ASSERT_EQ(s.currents.trees, trees);
        int edge = 0;
        for (int e = 0; e < static_cast<int>(s.darts.head.size()); ++e) {
            if (e > s.darts.reverse[e]) continue;
            const long long height = holding[edge++];
            battery_rectangle& r = s.rectangle;
            if (rectangle_from_flow(s.darts, s.currents, e, r) != flow_result::rectangle) continue;
            ++rectangles;
            EXPECT_EQ(r.full_height, height);
            EXPECT_EQ(r.full_width + r.full_height, trees);
            EXPECT_EQ(r.square, r.width == r.height);
            // Without four squares at a point a c-net's rectangle is simple.
            const bool crossed = four_meet_at_a_point(r.squares);
            EXPECT_EQ(four_meet_at_a_point(r), crossed);
            crosses += crossed;
            if (!crossed) {
                EXPECT_FALSE(has_inner_rectangle(r.squares, r.width, r.height));
            }
            // The code in placement order, replayed, is a dissection of the
            // same rectangle.
            square_case c;
            c.count = static_cast<std::int32_t>(r.squares.size());
            c.width = static_cast<std::int32_t>(r.width);
            c.height = static_cast<std::int32_t>(r.height);
            for (const square_box& b : r.squares)
                c.sides.push_back(static_cast<std::int32_t>(b.side));
            std::string replayed, found, why;
            ASSERT_TRUE(append_canonical_line(c, s.canonical, replayed, why)) << why;
            append_canonical(r.squares, r.width, r.height, "", s.canonical, found);
            EXPECT_EQ(replayed, found);
        }
    }
    EXPECT_GT(rectangles, 1000);
    EXPECT_GT(crosses, 50);
}

// The prism over a k-gon: outer vertices 0 .. k-1, inner k .. 2k-1.
plane_graph prism(int k)
{
    plane_graph g;
    g.rotation.resize(2 * k);
    for (int i = 0; i < k; ++i) {
        g.rotation[i] = {k + i, (i + 1) % k, (i + k - 1) % k};
        g.rotation[k + i] = {i, k + (i + k - 1) % k, k + (i + 1) % k};
    }
    return g;
}

// Both paths of a squares run, on random c-nets, every c-net of up to 17
// edges, and wheels and prisms up to past the screen's 32 vertices, whose
// near misses |2 tau(G / e) - tau(G)| = 1 or 2 come within the bound.
TEST(Enumeration, SquareScreenDecidesAsTheExactSolution)
{
    std::vector<plane_graph> graphs;
    std::mt19937_64 random(29);
    for (int round = 0; round < 400; ++round) graphs.push_back(random_cnet(random, 4 + round % 16));
    for (int edges = 6; edges <= 17; ++edges)
        for_each_cnet(edges, {}, false, [&](const plane_graph& g) { graphs.push_back(g); });
    for (int k = 3; k <= 24; ++k) {
        if (k <= 17) graphs.push_back(prism(k));
        plane_graph wheel;
        cnet::to_plane_graph(cnet::wheel(k), wheel);  // as many edges as the generator takes
        graphs.push_back(wheel);
    }
    int squares = 0, decided = 0, near_misses = 0, unsure = 0, bound_past_gap = 0;
    solve_scratch s;
    for (const plane_graph& g : graphs) {
        std::string problem;
        ASSERT_EQ(check_plane_graph(g, s.darts, problem), graph_kind::c_net);
        ASSERT_TRUE(exact_solution_fits(s.darts));
        ASSERT_TRUE(solve_currents(s.darts, s.currents, problem)) << problem;
        const std::int64_t trees = s.currents.trees;
        const bool small = g.rotation.size() <= 32;
        if (small) {
            EXPECT_EQ(tree_count_is_odd(s.darts), trees % 2 == 1);
        }
        screen_squares(s.darts, s.screen);
        EXPECT_EQ(s.screen.sure, small);
        unsure += !s.screen.sure;
        if (!s.screen.sure) continue;
        std::vector<int> exact;
        for (int e = 0; e < static_cast<int>(s.darts.head.size()); ++e) {
            if (e > s.darts.reverse[e]) continue;
            const int a = s.darts.tail[e], b = s.darts.head[e];
            const std::int64_t height = s.currents.at(a, a) - s.currents.at(a, b) -
                                        s.currents.at(b, a) + s.currents.at(b, b);
            const long double exact_resistance = static_cast<long double>(height) / trees;
            EXPECT_LE(std::fabs(s.screen.resistance[e] - exact_resistance), s.screen.bound);
            if (2 * height == trees) exact.push_back(e);
            near_misses += 2 * height != trees && std::llabs(2 * height - trees) <= 2;
        }
        squares += static_cast<int>(exact.size());
        // Past a bound of a quarter of the gap a near miss may be a
        // candidate, to be refused exactly; a square never is missed.
        if (s.screen.bound * 4 * static_cast<double>(trees) < 1) {
            ++decided;
            EXPECT_EQ(s.screen.candidates, exact);
        } else {
            ++bound_past_gap;
            for (int e : exact)
                EXPECT_NE(std::find(s.screen.candidates.begin(), s.screen.candidates.end(), e),
                          s.screen.candidates.end());
        }
    }
    EXPECT_GT(squares, 200);
    EXPECT_GT(near_misses, 200);
    EXPECT_GT(decided, 2000);
    EXPECT_GT(bound_past_gap, 0);
    EXPECT_EQ(unsure, 1);  // the prism of 34 vertices
}

// Of two dual c-nets with V = F, both generated, exactly one is solved;
// a self-dual one is.
TEST(Enumeration, OfTwoDualCnetsOneIsSolved)
{
    int pairs = 0, self_dual = 0;
    solve_scratch s, t;
    for (int edges = 10; edges <= 16; edges += 2) {
        for_each_embedded_cnet(edges, {}, true, [&](const cnet::embedding& g, const auto&) {
            if (2 * g.nv != edges + 2) return;
            darts_of(g, s.darts);
            const bool skipped = dual_comes_first(g, s);
            dual_of(s.darts, s.dual);
            const cnet::embedding dual = cnet::from_plane_graph(s.dual);
            darts_of(dual, t.darts);
            const bool dual_skipped = dual_comes_first(dual, t);
            plane_graph own;
            cnet::to_plane_graph(g, own);
            if (cnet::canonical_code(own) == cnet::canonical_code(s.dual)) {
                ++self_dual;
                EXPECT_FALSE(skipped);
                EXPECT_FALSE(dual_skipped);
            } else {
                ++pairs;
                EXPECT_NE(skipped, dual_skipped);
            }
        });
    }
    EXPECT_GT(pairs, 100);
    EXPECT_GT(self_dual, 10);
}

TEST(Enumeration, NumbersPastTheirRangeAreRefused)
{
    std::mt19937_64 random(1);
    const std::pair<plane_graph, const char*> cases[] = {
        // Sides past 32 bits, currents within 60; then currents past them.
        {random_cnet(random, 30), "leaves the 32-bit range of a side"},
        {random_cnet(random, 120), "leave the range of the exact solution"},
    };
    for (const auto& [g, message] : cases) {
        solve_scratch s;
        std::string problem;
        ASSERT_EQ(check_plane_graph(g, s.darts, problem), graph_kind::c_net);
        found_codes found;
        EXPECT_FALSE(solve_cnet(s, {true, true, true, true}, false, found, problem));
        EXPECT_NE(problem.find(message), std::string::npos) << message << ": " << problem;
    }
}

struct reader_case {
    std::string bytes;
    std::vector<graph_kind> kinds;  // of the graphs read
    std::string error;              // the message that ends the file, if any
};

TEST(Enumeration, PlanarCodeReaderJudgesGoodOddAndHostileFiles)
{
    const std::string head = ">>planar_code<<";
    const std::string k4 = std::string("\4\2\4\3\0\3\4\1\0\1\4\2\0\1\2\3\0", 17);
    std::string le = ">>planar_code le<<", be = ">>planar_code be<<";
    le += std::string("\0\4\0", 3);
    be += std::string("\0\0\4", 3);
    for (std::size_t i = 1; i < k4.size(); ++i) {
        le += k4[i] + std::string(1, '\0');
        be += std::string(1, '\0') + k4[i];
    }
    using k = graph_kind;
    const reader_case cases[] = {
        {"", {}, "no graphs and no header"},
        {head, {}, ""},
        {head + k4 + k4, {k::c_net, k::c_net}, ""},
        // Files joined: a header again between graphs, of either width.
        {head + k4 + head + head + k4 + le, {k::c_net, k::c_net, k::c_net}, ""},
        {le + head + std::string("\0\4\0", 3), {k::c_net}, "graph 2: a graph of 256 or more"},
        {head + k4 + ">>planar_cod", {k::c_net}, "graph 2: vertex 1 has neighbour 112 of only 62"},
        {le.substr(0, 18) + std::string("\0\xe9\3", 3), {}, "graph 1: 1001 vertices are more"},
        {head + "\2" + std::string(20, '\1'), {}, "graph 1: more than 18 neighbours in all"},
        {le, {k::c_net}, ""},
        {be, {k::c_net}, ""},
        {"planar_code" + k4, {}, "not planar_code"},
        {">>planar_code xx<<", {}, "not planar_code"},
        {head + k4 + std::string("\0\4\0", 3), {k::c_net}, "graph 2: a graph of 256 or more"},
        {head + k4 + k4.substr(0, 9), {k::c_net}, "graph 2: the file ends inside"},
        {head + std::string("\4\2\11\0", 4), {}, "graph 1: vertex 1 has neighbour 9 of only 4"},
        // 1 2 3 4 around, each with only the next: one way round only.
        {head + std::string("\4\2\0\3\0\4\0\1\0", 9), {k::not_embedding}, ""},
        // The tetrahedron with two rotations turned: a torus, not the plane.
        {head + std::string("\4\2\3\4\0\3\4\1\0\4\1\2\0\1\2\3\0", 17), {k::not_embedding}, ""},
        {head + std::string("\3\1\2\0\1\0\1\0", 8), {k::not_simple}, ""},
        {head + std::string("\2\2\2\0\1\1\0", 7), {k::not_simple}, ""},
        // The square: 2-connected only.
        {head + std::string("\4\2\4\0\1\3\0\2\4\0\3\1\0", 13), {k::not_3_connected}, ""},
    };
    for (const reader_case& c : cases) {
        std::string bytes = c.bytes + '\xff';  // fmemopen needs a byte
        std::FILE* in = fmemopen(&bytes[0], c.bytes.size(), "rb");
        ASSERT_NE(in, nullptr);
        planar_code_reader reader(in);
        std::vector<graph_kind> kinds;
        std::string error;
        try {
            plane_graph g;
            plane_darts d;
            std::string problem;
            while (reader.next(g)) {
                kinds.push_back(check_plane_graph(g, d, problem));
                if (kinds.back() == graph_kind::not_embedding) {
                    EXPECT_FALSE(problem.empty());
                }
            }
        } catch (const conversion_error& e) {
            error = e.what();
        }
        std::fclose(in);
        EXPECT_EQ(kinds, c.kinds) << c.bytes;
        if (c.error.empty()) {
            EXPECT_EQ(error, "") << c.bytes;
        } else {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
    }
}

// The counts the progress line and the warnings go by are the generator's
// own, and a run of years or of more memory than a machine has says so.
TEST(Enumeration, CostOfARunIsSaidBeforeIt)
{
    for (int edges = 6; edges <= 16; ++edges) {
        std::int64_t count = 0;
        for_each_cnet(edges, {1, 1}, false, [&](const plane_graph&) { ++count; });
        EXPECT_EQ(cnets_of_edges(edges), static_cast<double>(count)) << edges;
    }
    enumeration_request o;
    EXPECT_EQ(cost_warnings(o, 9, 21, 1), "");
    const std::string long_run = cost_warnings(o, 40, 40, 1);
    EXPECT_NE(long_run.find("order 40 means about"), std::string::npos) << long_run;
    EXPECT_NE(long_run.find("years; --part K/N shares them out"), std::string::npos) << long_run;
    EXPECT_NE(cost_warnings(o, 24, 24, 1).find("GiB of codes in memory"), std::string::npos);
    EXPECT_EQ(cost_warnings(o, 24, 24, 16), "");
    o.count = true;
    EXPECT_EQ(cost_warnings(o, 24, 24, 1), "");
    o.count = false;
    o.squares = true;
    EXPECT_EQ(cost_warnings(o, 24, 24, 1), "");
    o.quiet = true;
    EXPECT_EQ(cost_warnings(o, 40, 40, 1), "");
}

}  // namespace
