// McKay's canonical construction path over Tutte's wheel theorem. Every
// c-net that is not a wheel has an edge whose deletion or contraction
// leaves a c-net; of those reductions one orbit is canonical, and a c-net
// is made only from the parent that its canonical reduction gives, by the
// one operation (up to the parent's automorphisms) that undoes it. So each
// c-net comes once, and nothing is stored but the path from a wheel.
#include "enumeration/cnet_generator.h"

#include <stdexcept>
#include <vector>

#include "enumeration/canonical_code.h"
#include "enumeration/embedding.h"

namespace cnet {
namespace {

enum reduction { by_deletion = 0, by_contraction = 1 };

// What the generator knows of one graph on the path: the graph, its faces
// and, when worked out, its canonical form.
struct node {
    embedding graph;
    face_table faces;
    canonical_form form;
    bool have_form = false;
    // The edges whose contraction leaves a c-net, with their invariants.
    int contractible_count = 0;
    std::uint8_t contractible_edge[max_edges];
    std::uint32_t contractible_value[max_edges];
};

// A cheap isomorphism invariant of a reduction, from the degrees of the
// edge's ends and the sizes of the faces beside it; the canonical one is
// among those of greatest value.
std::uint32_t invariant_of(int type, unsigned du, unsigned dv, unsigned sl, unsigned sr)
{
    return static_cast<std::uint32_t>(type) << 30 | (du + dv) << 20 | (du > dv ? du : dv) << 14 |
           (sl + sr) << 7 | (sl > sr ? sl : sr);
}

std::uint32_t invariant(const embedding& g, const face_table& f, int e, int type)
{
    return invariant_of(type, g.degree[g.head[2 * e]], g.degree[g.head[2 * e + 1]],
                        f.size[f.of_dart[2 * e]], f.size[f.of_dart[2 * e + 1]]);
}

bool reducible(const embedding& g, const face_table& f, int e, int type)
{
    return type == by_deletion ? deletable(g, f, e) : contractible(g, f, e);
}

// Share boundaries: the level of the search tree whose nodes (and the
// wheels above it) are numbered and dealt out in turn. The nodes of a level
// are the c-nets of that many edges; their subtrees differ in size, so the
// level is the first with some hundreds of nodes a share, and a share costs
// the tree down to that level on top of its part.
int share_level(int edges, std::int64_t parts)
{
    if (parts <= 1) return edges + 1;
    const double wanted = 200.0 * static_cast<double>(parts);
    for (int level = 12; level < edges; ++level) {
        if (cnets_of_edges(level) >= wanted) return level;
    }
    return edges;
}

}  // namespace
}  // namespace cnet

double cnets_of_edges(int edges)
{
    // A002840 from 6 edges to 22.
    const double known[] = {1,   0,   1,    2,    2,     4,     12,     22,    58,
                            158, 448, 1342, 4199, 13384, 43708, 144810, 485704};
    if (edges < 6) return 0;
    if (edges <= 22) return known[edges - 6];
    double count = known[16];
    for (int e = 23; e <= edges; ++e) count *= 3.4;
    return count;
}

namespace cnet {
namespace {

class generator {
public:
    generator(int edges, const cnet_share& share, bool few_vertices,
              const std::function<void(const plane_graph&)>& each)
        : edges_(edges),
          share_(share),
          few_vertices_(few_vertices),
          each_(each),
          split_level_(share_level(edges, share.n)),
          vertex_cut_((split_level_ + 8) / 3 + 2),
          nodes_(edges + 2)
    {
    }

    void run()
    {
        for (int spokes = 3; 2 * spokes <= edges_; ++spokes) {
            node& root = nodes_[2 * spokes];
            root.graph = wheel(spokes);
            find_faces(root.graph, root.faces);
            root.have_form = false;
            const bool counted = dealt_here(root.graph);
            if (counted && !take_unit()) continue;
            grow(root, counted);
        }
    }

private:
    bool take_unit() { return unit_++ % share_.n == share_.k - 1; }

    // The nodes dealt out are those of the share level and below, but for
    // the few with the fewest vertices there: their subtrees hold most of
    // the c-nets (splits add vertices), so they are dealt lower down, where
    // a split has added a vertex or at the last level.
    bool dealt_here(const embedding& g) const
    {
        return g.ne >= split_level_ && (g.nv >= vertex_cut_ || g.ne == edges_);
    }

    void grow(node& n, bool counted)
    {
        const embedding& g = n.graph;
        if (g.ne == edges_) {
            to_plane_graph(g, out_);
            each_(out_);
            return;
        }
        node& c = nodes_[g.ne + 1];
        const face_table& f = n.faces;
        // Most children are refused before they are made: a contraction
        // outranks a deletion, and an edge whose contraction leaves a c-net
        // here still does so in a child, but for the cases below.
        n.contractible_count = 0;
        for (int e = 0; e < g.ne; ++e)
            if (contractible(g, f, e)) {
                n.contractible_edge[n.contractible_count] = static_cast<std::uint8_t>(e);
                n.contractible_value[n.contractible_count++] = invariant(g, f, e, by_contraction);
            }
        // Edges across faces: one per pair of vertices on a face that are not adjacent.
        if (!few_vertices_ || 2 * g.nv <= edges_ + 2) {
            for (int h = 0; h < f.nf; ++h) {
                int corner[max_vertices];
                int size = 0;
                corner[0] = f.first[h];
                for (size = 1; size < f.size[h]; ++size)
                    corner[size] = face_next(g, corner[size - 1]);
                for (int i = 0; i < size; ++i)
                    for (int j = i + 2; j < size; ++j) {
                        const int a = tail(g, corner[i]);
                        const int b = tail(g, corner[j]);
                        if (f.neighbours[a] >> b & 1) continue;
                        if (contraction_survives_edge(n, a, b)) continue;
                        if (!first_of_orbit_edge(n, a, b)) continue;
                        add_edge(g, f, corner[i], corner[j], c.graph, c.faces);
                        consider(c, by_deletion, counted);
                    }
            }
        }
        // Splits of a vertex into two runs of at least two edges.
        if (few_vertices_ && 2 * (g.nv + 1) > edges_ + 2) return;
        for (int v = 0; v < g.nv; ++v) {
            const int d = g.degree[v];
            if (d < 4) continue;
            int dart = g.out[v];
            for (int j = 0; j < d; ++j, dart = g.next[dart])
                for (int m = 2; 2 * m <= d; ++m) {
                    if (2 * m == d && j >= d / 2) continue;
                    if (contraction_outranks_split(n, dart, m)) continue;
                    if (!first_of_orbit_split(n, dart, m)) continue;
                    split_vertex(g, f, dart, m, c.graph, c.faces);
                    consider(c, by_contraction, counted);
                }
        }
    }

    void consider(node& c, int type, bool counted)
    {
        c.have_form = false;
        if (!canonical_reduction(c, type)) return;
        if (!counted && dealt_here(c.graph)) {
            if (!take_unit()) return;
            counted = true;
        }
        grow(c, counted);
    }

    // Whether a contractible edge of the parent stays so after edge a b is
    // added: unless a b joins one of its ends to a neighbour of the other.
    static bool contraction_survives_edge(const node& n, int a, int b)
    {
        const embedding& g = n.graph;
        const vertex_set ab = vertex_set{1} << a | vertex_set{1} << b;
        for (int i = 0; i < n.contractible_count; ++i) {
            const int e = n.contractible_edge[i];
            const int x = g.head[2 * e];
            const int y = g.head[2 * e + 1];
            const vertex_set ends = vertex_set{1} << x | vertex_set{1} << y;
            const vertex_set near = n.faces.neighbours[x] | n.faces.neighbours[y];
            if ((ends & ab) == 0 || (near & ab & ~ends) == 0) return true;
        }
        return false;
    }

    // Whether a contractible edge of the parent away from the vertex split
    // stays so in the child (it does) and outranks the new edge there (its
    // invariant can only grow, with the faces beside it).
    static bool contraction_outranks_split(const node& n, int first, int count)
    {
        const embedding& g = n.graph;
        const face_table& f = n.faces;
        const int v = tail(g, first);
        int last = first;
        for (int i = 1; i < count; ++i) last = g.next[last];
        const std::uint32_t made =
            invariant_of(by_contraction, g.degree[v] - count + 1, count + 1,
                         f.size[f.of_dart[first]] + 1u, f.size[f.of_dart[g.next[last]]] + 1u);
        for (int i = 0; i < n.contractible_count; ++i) {
            if (n.contractible_value[i] <= made) continue;
            const int e = n.contractible_edge[i];
            if (g.head[2 * e] != v && g.head[2 * e + 1] != v) return true;
        }
        return false;
    }

    // Whether the newest edge, undone by `type`, is in the canonical orbit.
    bool canonical_reduction(node& c, int type)
    {
        const embedding& g = c.graph;
        const face_table& f = c.faces;
        const int made = g.ne - 1;
        const std::uint32_t mine = invariant(g, f, made, type);
        tied_.clear();
        // A contraction outranks every deletion; the sum of the end degrees
        // leads the invariant and costs two loads.
        const unsigned sum = g.degree[g.head[2 * made]] + g.degree[g.head[2 * made + 1]];
        for (int e = 0; e < g.ne; ++e) {
            if (type == by_deletion && contractible(g, f, e)) return false;
            if (e == made) continue;
            if (g.degree[g.head[2 * e]] + g.degree[g.head[2 * e + 1]] < sum) continue;
            const std::uint32_t value = invariant(g, f, e, type);
            if (value < mine || !reducible(g, f, e, type)) continue;
            if (value > mine) return false;
            tied_.push_back(e);
        }
        if (tied_.empty()) return true;
        // A second invariant, dearer, for the ties only.
        const std::uint32_t own = second_invariant(g, made);
        std::size_t kept = 0;
        for (int e : tied_) {
            const std::uint32_t value = second_invariant(g, e);
            if (value > own) return false;
            if (value == own) tied_[kept++] = e;
        }
        return kept == 0 || least_along(g, f, made, tied_.data(), static_cast<int>(kept));
    }

    // The degrees of the neighbours of each end.
    static std::uint32_t second_invariant(const embedding& g, int e)
    {
        const auto around = [&g](int x) {
            std::uint32_t sum = 0;
            int d = g.out[x];
            for (int i = 0; i < g.degree[x]; ++i, d = g.next[d]) sum += g.degree[g.head[d]];
            return sum;
        };
        const std::uint32_t a = around(g.head[2 * e]);
        const std::uint32_t b = around(g.head[2 * e + 1]);
        return a > b ? a << 16 | b : b << 16 | a;
    }

    // Of the operations that automorphisms of the parent carry into one
    // another, only the one least under the first numbering is done.
    static void need_form(node& n)
    {
        if (n.have_form) return;
        find_canonical_form(n.graph, n.faces, n.form);
        n.have_form = true;
    }

    // Whether no automorphism's numbering gives the operation a lesser
    // `key` than the first numbering does.
    template <typename Key>
    static bool least_under_first(node& n, Key key)
    {
        need_form(n);
        if (n.form.walks == 1) return true;
        const auto own = key(n.form.labels.data());
        for (int i = 1; i < n.form.walks; ++i)
            if (key(&n.form.labels[static_cast<std::size_t>(i) * max_vertices]) < own) return false;
        return true;
    }

    static bool first_of_orbit_edge(node& n, int a, int b)
    {
        return least_under_first(n, [&](const std::uint8_t* l) {
            const unsigned x = l[a];
            const unsigned y = l[b];
            return x < y ? x << 8 | y : y << 8 | x;
        });
    }

    static bool first_of_orbit_split(node& n, int first, int count)
    {
        const embedding& g = n.graph;
        const int v = tail(g, first);
        const auto key = [&](const std::uint8_t* l) {
            std::uint64_t moved = 0;
            std::uint64_t all = 0;
            int d = g.out[v];
            for (int i = 0; i < g.degree[v]; ++i, d = g.next[d])
                all |= std::uint64_t{1} << l[g.head[d]];
            d = first;
            for (int i = 0; i < count; ++i, d = g.next[d])
                moved |= std::uint64_t{1} << l[g.head[d]];
            const std::uint64_t stays = all & ~moved;
            return std::uint64_t{l[v]} << 40 | (moved < stays ? moved : stays);
        };
        return least_under_first(n, key);
    }

    int edges_;
    cnet_share share_;
    bool few_vertices_;
    const std::function<void(const plane_graph&)>& each_;
    int split_level_;
    int vertex_cut_;  // two more than the fewest vertices at the share level
    std::vector<node> nodes_;
    std::vector<int> tied_;
    std::int64_t unit_ = 0;
    plane_graph out_;
};

}  // namespace
}  // namespace cnet

void for_each_cnet(int edges, const cnet_share& share, bool at_most_as_many_vertices_as_faces,
                   const std::function<void(const plane_graph&)>& each)
{
    if (share.n < 1 || share.k < 1 || share.k > share.n)
        throw std::invalid_argument("a share is K/N with 1 <= K <= N");
    if (edges > cnet_max_edges)
        throw std::invalid_argument("too many edges for the c-net generator");
    if (edges < 6) return;
    cnet::generator(edges, share, at_most_as_many_vertices_as_faces, each).run();
}
