#include "enumeration/solve_batch.h"

#include <algorithm>
#include <string>

#include "enumeration/canonical_code.h"
#include "enumeration/planar_code.h"

namespace {

// Invariants that a c-net's dual reads with vertices and faces swapped:
// how many vertices have each degree, then the edges, each as the degrees
// of its ends, sorted (the dual's edge across an edge joins the two faces
// beside it, of the sizes read when `of_dual`).
void count_degrees(const cnet::embedding& g, const plane_darts& d, bool of_dual,
                   std::uint8_t (&count)[cnet::max_edges])
{
    for (std::uint8_t& c : count) c = 0;
    if (of_dual) {
        for (int f = 0; f < d.faces; ++f) ++count[d.face_first[f + 1] - d.face_first[f]];
    } else {
        for (int v = 0; v < g.nv; ++v) ++count[g.degree[v]];
    }
}

int read_edges(const cnet::embedding& g, const plane_darts& d, bool of_dual, std::uint16_t* out)
{
    int length = 0;
    const int darts = static_cast<int>(d.head.size());
    const auto size_of_face = [&](int f) { return d.face_first[f + 1] - d.face_first[f]; };
    for (int e = 0; e < darts; ++e) {
        if (e > d.reverse[e]) continue;
        int a = of_dual ? size_of_face(d.face[e]) : g.degree[d.tail[e]];
        int b = of_dual ? size_of_face(d.face[d.reverse[e]]) : g.degree[d.head[e]];
        if (a > b) std::swap(a, b);
        out[length++] = static_cast<std::uint16_t>(a << 8 | b);
    }
    std::sort(out, out + length);
    return length;
}

}  // namespace

bool dual_comes_first(const cnet::embedding& g, solve_scratch& scratch)
{
    // Most pairs differ in these already: two canonical codes only for the
    // rest. Whichever of the two the invariants favour, the dual's favour
    // the other.
    if (scratch.darts.faces < 0) trace_faces(scratch.darts);
    std::uint8_t own_degrees[cnet::max_edges];
    std::uint8_t dual_degrees[cnet::max_edges];
    count_degrees(g, scratch.darts, false, own_degrees);
    count_degrees(g, scratch.darts, true, dual_degrees);
    for (int k = 0; k < cnet::max_edges; ++k) {
        if (own_degrees[k] != dual_degrees[k]) return dual_degrees[k] < own_degrees[k];
    }
    std::uint16_t own[cnet::max_edges];
    std::uint16_t dual[cnet::max_edges];
    const int length = read_edges(g, scratch.darts, false, own);
    read_edges(g, scratch.darts, true, dual);
    const auto [at_own, at_dual] = std::mismatch(own, own + length, dual);
    if (at_own != own + length) return *at_dual < *at_own;
    dual_of(scratch.darts, scratch.dual);
    plane_graph self;
    cnet::to_plane_graph(g, self);
    return cnet::canonical_code(scratch.dual) < cnet::canonical_code(self);
}

void solve_batch(graph_batch& b, const bool (&wanted)[kinds], bool count, solve_scratch& scratch)
{
    std::string problem;
    const bool squares_only = !wanted[perfect_oblong] && !wanted[imperfect_oblong];
    // A file may hold a graph twice, or with its dual; a squares run solves
    // both of two duals: those keep every code.
    const bool count_uncrossed = count && !b.from_file && !squares_only;
    for (std::size_t i = 0; i < b.size(); ++i) {
        const std::int64_t number = b.first + b.step * static_cast<std::int64_t>(i);
        int vertices = 0;
        if (b.from_file) {
            const plane_graph& g = b.graphs[i];
            const graph_kind kind = check_plane_graph(g, scratch.darts, problem);
            if (kind == graph_kind::not_embedding) {
                b.error = graph_named(number) + problem;
                return;
            }
            if (kind == graph_kind::not_simple) ++b.not_simple;
            if (kind == graph_kind::not_3_connected) ++b.not_3_connected;
            if (kind != graph_kind::c_net) continue;
            vertices = static_cast<int>(g.rotation.size());
        } else {
            darts_of(b.generated[i], scratch.darts);
            vertices = b.generated[i].nv;
        }
        const int edges = static_cast<int>(scratch.darts.head.size() / 2);
        const int faces = edges - vertices + 2;
        // The generator leaves out the duals of those with fewer vertices than faces.
        b.cnets[edges] += !b.from_file && vertices < faces ? 2 : 1;
        // A squares run screens both of two duals in less time than it
        // would choose one: their squares, if any, are the same codes.
        if (!b.from_file && vertices == faces && !squares_only &&
            dual_comes_first(b.generated[i], scratch)) {
            continue;
        }
        if (!solve_cnet(scratch, wanted, count_uncrossed, b.found, problem)) {
            b.error = (b.from_file ? graph_named(number)
                                   : "a c-net of " + std::to_string(edges) + " edges: ") +
                      problem;
            return;
        }
    }
}
