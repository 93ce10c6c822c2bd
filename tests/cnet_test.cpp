// The c-net generator against the published counts, against nauty's
// general graph generator, and against a plain model of 3-connectivity
// and of plane embeddings.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "enumeration/canonical_code.h"
#include "enumeration/cnet_generator.h"

namespace {

using adjacency = std::vector<std::vector<int>>;

// Connected after removing any two vertices, by brute force.
bool three_connected(const adjacency& a)
{
    const int n = static_cast<int>(a.size());
    if (n < 4) return false;
    for (int x = 0; x < n; ++x)
        for (int y = x + 1; y < n; ++y) {
            std::vector<char> seen(n, 0);
            seen[x] = seen[y] = 1;
            int start = 0;
            while (seen[start]) ++start;
            std::vector<int> stack{start};
            seen[start] = 1;
            int reached = 1;
            while (!stack.empty()) {
                const int u = stack.back();
                stack.pop_back();
                for (int v : a[u])
                    if (!seen[v]) seen[v] = 1, ++reached, stack.push_back(v);
            }
            if (reached != n - 2) return false;
        }
    return true;
}

// The faces of a rotation system, or -1 if an edge is not in both rotations.
int face_count(const plane_graph& g)
{
    std::map<std::pair<int, int>, int> position;
    for (int u = 0; u < static_cast<int>(g.rotation.size()); ++u)
        for (int i = 0; i < static_cast<int>(g.rotation[u].size()); ++i) position[{u, g.rotation[u][i]}] = i;
    std::set<std::pair<int, int>> used;
    int faces = 0;
    for (const auto& [dart, i] : position) {
        if (!position.count({dart.second, dart.first})) return -1;
        if (used.count(dart)) continue;
        ++faces;
        for (std::pair<int, int> d = dart; used.insert(d).second;) {
            const auto& r = g.rotation[d.second];
            const int back = position.at({d.second, d.first});
            d = {d.second, r[(back + 1) % r.size()]};
        }
    }
    return faces;
}

std::vector<plane_graph> cnets(int edges, cnet_share share = {}, bool few = false)
{
    std::vector<plane_graph> all;
    for_each_cnet(edges, share, few, [&all](const plane_graph& g) { all.push_back(g); });
    return all;
}

TEST(CnetGenerator, PublishedCountsByEdges)
{
    const long long a002840[] = {1, 0, 1, 2, 2, 4, 12, 22, 58, 158, 448, 1342, 4199, 13384};
    for (int edges = 6; edges <= 19; ++edges) {
        long long all = 0;
        for_each_cnet(edges, {}, false, [&all](const plane_graph&) { ++all; });
        EXPECT_EQ(all, a002840[edges - 6]) << edges << " edges";
    }
    for (int edges : {0, 5}) EXPECT_TRUE(cnets(edges).empty());
    EXPECT_THROW(cnets(6, {3, 2}), std::invalid_argument);
    EXPECT_THROW(cnets(cnet_max_edges + 1), std::invalid_argument);
}

TEST(CnetGenerator, GraphsAreDistinctEmbeddedCnetsAndSharesPartitionThem)
{
    for (int edges = 6; edges <= 16; ++edges) {
        SCOPED_TRACE(std::to_string(edges) + " edges");
        std::map<std::vector<std::uint8_t>, int> seen;
        std::map<int, int> by_vertices;
        for (const plane_graph& g : cnets(edges)) {
            adjacency a;
            int degrees = 0;
            for (const auto& r : g.rotation) {
                a.push_back(r);
                degrees += static_cast<int>(r.size());
                ASSERT_EQ(std::set<int>(r.begin(), r.end()).size(), r.size()) << "a double edge";
            }
            ASSERT_EQ(degrees, 2 * edges);
            const int v = static_cast<int>(g.rotation.size());
            ASSERT_EQ(face_count(g), edges - v + 2) << "not an embedding in the plane";
            ASSERT_TRUE(three_connected(a));
            ASSERT_TRUE(seen.emplace(cnet::canonical_code(g), 0).second) << "the same c-net twice";
            ++by_vertices[v];
        }
        // Duality: as many with V < F as with V > F; the few are V <= F.
        int less = 0, more = 0;
        for (const auto& [v, count] : by_vertices) {
            if (2 * v < edges + 2) less += count;
            if (2 * v > edges + 2) more += count;
        }
        EXPECT_EQ(less, more);
        EXPECT_EQ(cnets(edges, {}, true).size(), seen.size() - more);
        for (bool few : {false, true}) {
            using codes = std::vector<std::vector<std::uint8_t>>;
            const auto codes_of = [&](cnet_share share) {
                codes out;
                for (const plane_graph& g : cnets(edges, share, few)) out.push_back(cnet::canonical_code(g));
                return out;
            };
            const codes whole = codes_of({});
            EXPECT_EQ(codes_of({}), whole) << "a different order";
            for (std::int64_t n : {2, 3, 7, 40}) {
                codes parts;
                for (std::int64_t k = 1; k <= n; ++k)
                    for (auto& code : codes_of({k, n})) parts.push_back(code);
                EXPECT_EQ(std::multiset<std::vector<std::uint8_t>>(parts.begin(), parts.end()),
                          std::multiset<std::vector<std::uint8_t>>(whole.begin(), whole.end()))
                    << n << " shares";
            }
        }
    }
}

// nauty's geng makes every connected graph with minimum degree 3, planarg
// keeps the planar ones; the 3-connected among them, by vertices, are the c-nets.
TEST(CnetGenerator, AgreesWithNautyByVertices)
{
    if (std::system("command -v nauty-geng >/dev/null && command -v nauty-planarg >/dev/null") != 0)
        GTEST_SKIP() << "needs nauty (Debian: nauty)";
    for (int edges = 6; edges <= 17; ++edges) {
        std::map<int, int> nauty, ours;
        for (int v = (edges + 8) / 3; 3 * v <= 2 * edges; ++v) {
            const std::string command = "nauty-geng -q -c -d3 " + std::to_string(v) + " " + std::to_string(edges) +
                                        ":" + std::to_string(edges) + " | nauty-planarg -q";
            std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
            ASSERT_TRUE(pipe);
            char line[256];
            while (std::fgets(line, sizeof line, pipe.get())) {
                // graph6: n + 63, then the upper triangle column by column, six bits a byte.
                const int n = line[0] - 63;
                adjacency a(n);
                for (int j = 1, bit = 0; j < n; ++j)
                    for (int i = 0; i < j; ++i, ++bit)
                        if ((line[1 + bit / 6] - 63) >> (5 - bit % 6) & 1) a[i].push_back(j), a[j].push_back(i);
                nauty[n] += three_connected(a);
            }
        }
        for (const plane_graph& g : cnets(edges)) ++ours[static_cast<int>(g.rotation.size())];
        for (auto it = nauty.begin(); it != nauty.end();) it = it->second == 0 ? nauty.erase(it) : std::next(it);
        EXPECT_EQ(ours, nauty) << edges << " edges";
    }
}

}  // namespace
