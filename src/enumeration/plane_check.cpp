#include "enumeration/plane_check.h"

#include <algorithm>

namespace {

// Numbers the darts and pairs each with its reverse; false when the graph
// has a loop or two edges between the same vertices, and `unpaired` is the
// first dart whose reverse is missing, or -1.
bool pair_darts(const plane_graph& g, plane_darts& d, int& unpaired)
{
    const int n = static_cast<int>(g.rotation.size());
    d.first.assign(static_cast<std::size_t>(n) + 1, 0);
    for (int v = 0; v < n; ++v) {
        d.first[v + 1] = d.first[v] + static_cast<int>(g.rotation[v].size());
    }
    const int darts = d.first[n];
    d.tail.resize(darts);
    d.head.resize(darts);
    d.keys.resize(darts);
    for (int v = 0; v < n; ++v) {
        for (int i = d.first[v]; i < d.first[v + 1]; ++i) {
            d.tail[i] = v;
            d.head[i] = g.rotation[v][i - d.first[v]];
            if (d.head[i] == v) return false;
            d.keys[i] = static_cast<long long>(v) * n + d.head[i];
        }
    }
    d.order.resize(darts);
    for (int i = 0; i < darts; ++i) d.order[i] = i;
    std::sort(d.order.begin(), d.order.end(), [&](int a, int b) { return d.keys[a] < d.keys[b]; });
    for (int i = 1; i < darts; ++i) {
        if (d.keys[d.order[i]] == d.keys[d.order[i - 1]]) return false;
    }
    d.reverse.assign(darts, -1);
    unpaired = -1;
    for (int i = 0; i < darts; ++i) {
        const long long back = static_cast<long long>(d.head[i]) * n + d.tail[i];
        const auto found = std::lower_bound(d.order.begin(), d.order.end(), back,
                                            [&](int a, long long key) { return d.keys[a] < key; });
        if (found == d.order.end() || d.keys[*found] != back) {
            if (unpaired < 0) unpaired = i;
        } else {
            d.reverse[i] = *found;
        }
    }
    return true;
}

// The dart after u->v on its face: v->w, w following u in the rotation of v.
int face_next(const plane_darts& d, int e)
{
    const int back = d.reverse[e];
    const int v = d.tail[back];
    return back + 1 == d.first[v + 1] ? d.first[v] : back + 1;
}

}  // namespace

void trace_faces(plane_darts& d)
{
    const int darts = static_cast<int>(d.head.size());
    d.face.assign(darts, -1);
    d.faces = 0;
    for (int start = 0; start < darts; ++start) {
        if (d.face[start] >= 0) continue;
        for (int e = start; d.face[e] < 0; e = face_next(d, e)) d.face[e] = d.faces;
        ++d.faces;
    }
    d.face_first.assign(static_cast<std::size_t>(d.faces) + 1, 0);
    for (int e = 0; e < darts; ++e) ++d.face_first[d.face[e] + 1];
    for (int f = 0; f < d.faces; ++f) d.face_first[f + 1] += d.face_first[f];
    d.face_darts.resize(darts);
    std::vector<int>& at = d.seen;
    at.assign(d.face_first.begin(), d.face_first.end() - 1);
    for (int e = 0; e < darts; ++e) d.face_darts[at[d.face[e]]++] = e;
}

namespace {

// Whether the graph without `removed` (or -1) is connected and has no cut
// vertex: a depth-first search with low points.
bool two_connected_without(plane_darts& d, int n, int removed)
{
    const int root = removed == 0 ? 1 : 0;
    d.seen.assign(n, 0);
    d.low.assign(n, 0);
    d.stack.clear();
    std::vector<int>& next = d.order;  // per vertex, its next dart to try
    next.assign(d.first.begin(), d.first.end() - 1);
    std::vector<int> parent(n, -1);
    int time = 0;
    int visited = 1;
    int root_children = 0;
    d.seen[root] = ++time;
    d.low[root] = time;
    d.stack.push_back(root);
    while (!d.stack.empty()) {
        const int v = d.stack.back();
        if (next[v] < d.first[v + 1]) {
            const int w = d.head[next[v]++];
            if (w == removed) continue;
            if (d.seen[w] == 0) {
                d.seen[w] = d.low[w] = ++time;
                parent[w] = v;
                ++visited;
                if (v == root) ++root_children;
                d.stack.push_back(w);
            } else if (w != parent[v]) {
                d.low[v] = std::min(d.low[v], d.seen[w]);
            }
            continue;
        }
        d.stack.pop_back();
        const int p = parent[v];
        if (p < 0) continue;
        d.low[p] = std::min(d.low[p], d.low[v]);
        if (p != root && d.low[v] >= d.seen[p]) return false;
    }
    return visited == n - (removed >= 0 ? 1 : 0) && root_children <= 1;
}

}  // namespace

graph_kind check_plane_graph(const plane_graph& g, plane_darts& d, std::string& problem)
{
    const int n = static_cast<int>(g.rotation.size());
    if (n > most_vertices) {
        problem = std::to_string(n) + " vertices are more than the " +
                  std::to_string(most_vertices) + " of the largest graph squares2tex solves";
        return graph_kind::not_embedding;
    }
    int unpaired = -1;
    if (!pair_darts(g, d, unpaired)) return graph_kind::not_simple;
    if (unpaired >= 0) {
        problem = "not an embedding: vertex " + std::to_string(d.tail[unpaired] + 1) +
                  " has neighbour " + std::to_string(d.head[unpaired] + 1) +
                  ", which does not have it";
        return graph_kind::not_embedding;
    }
    if (n < 4 || !two_connected_without(d, n, -1)) return graph_kind::not_3_connected;
    trace_faces(d);
    const int edges = d.first[n] / 2;
    if (n - edges + d.faces != 2) {
        problem = "not a plane embedding: its rotations make " + std::to_string(d.faces) +
                  " faces of " + std::to_string(n) + " vertices and " + std::to_string(edges) +
                  " edges, where a plane graph has " + std::to_string(2 - n + edges);
        return graph_kind::not_embedding;
    }
    for (int v = 0; v < n; ++v) {
        if (!two_connected_without(d, n, v)) return graph_kind::not_3_connected;
    }
    return graph_kind::c_net;
}

void trace_darts(const plane_graph& g, plane_darts& d)
{
    int unpaired = -1;
    pair_darts(g, d, unpaired);
    trace_faces(d);
}

void darts_of(const cnet::embedding& g, plane_darts& d)
{
    const int darts = 2 * g.ne;
    d.first.resize(static_cast<std::size_t>(g.nv) + 1);
    d.tail.resize(darts);
    d.head.resize(darts);
    d.reverse.resize(darts);
    int number[cnet::max_darts];
    int at = 0;
    for (int v = 0; v < g.nv; ++v) {
        d.first[v] = at;
        int x = g.out[v];
        for (int i = 0; i < g.degree[v]; ++i, x = g.next[x]) {
            number[x] = at;
            d.tail[at] = v;
            d.head[at++] = g.head[x];
        }
    }
    d.first[g.nv] = at;
    for (int x = 0; x < darts; ++x) d.reverse[number[x]] = number[x ^ 1];
    d.faces = -1;
}

void dual_of(const plane_darts& d, plane_graph& dual)
{
    dual.rotation.assign(static_cast<std::size_t>(d.faces), {});
    for (int f = 0; f < d.faces; ++f) {
        const int start = d.face_darts[d.face_first[f]];
        int e = start;
        do {
            dual.rotation[f].push_back(d.face[d.reverse[e]]);
            e = face_next(d, e);
        } while (e != start);
    }
}
