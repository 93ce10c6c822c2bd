#include "enumeration/embedding.h"

#include <stdexcept>

namespace cnet {

void find_faces(const embedding& g, face_table& f)
{
    const int darts = 2 * g.ne;
    for (int d = 0; d < darts; ++d) f.of_dart[d] = 0xff;
    f.nf = 0;
    for (int d = 0; d < darts; ++d) {
        if (f.of_dart[d] != 0xff) continue;
        const int id = f.nf++;
        f.first[id] = static_cast<std::uint8_t>(d);
        vertex_set on = 0;
        int size = 0;
        int x = d;
        do {
            f.of_dart[x] = static_cast<std::uint8_t>(id);
            on |= vertex_set{1} << g.head[x];
            ++size;
            x = face_next(g, x);
        } while (x != d);
        f.size[id] = static_cast<std::uint8_t>(size);
        f.vertices[id] = on;
    }
    for (int v = 0; v < g.nv; ++v) f.neighbours[v] = 0;
    for (int d = 0; d < darts; ++d) f.neighbours[tail(g, d)] |= vertex_set{1} << g.head[d];
}

embedding from_plane_graph(const plane_graph& p)
{
    embedding g;
    const int n = static_cast<int>(p.rotation.size());
    if (n > max_vertices) throw std::invalid_argument("too many vertices for the c-net generator");
    g.nv = n;
    g.ne = 0;
    std::uint8_t dart_of[max_vertices][max_vertices];
    for (int u = 0; u < n; ++u)
        for (int v : p.rotation[u])
            if (u < v) {
                if (g.ne == max_edges)
                    throw std::invalid_argument("too many edges for the c-net generator");
                const int e = g.ne++;
                dart_of[u][v] = static_cast<std::uint8_t>(2 * e);
                dart_of[v][u] = static_cast<std::uint8_t>(2 * e + 1);
                g.head[2 * e] = static_cast<std::uint8_t>(v);
                g.head[2 * e + 1] = static_cast<std::uint8_t>(u);
            }
    for (int u = 0; u < n; ++u) {
        const auto& r = p.rotation[u];
        const int k = static_cast<int>(r.size());
        g.degree[u] = static_cast<std::uint8_t>(k);
        for (int i = 0; i < k; ++i) {
            const int d = dart_of[u][r[i]];
            g.next[d] = dart_of[u][r[(i + 1) % k]];
            g.prev[d] = dart_of[u][r[(i + k - 1) % k]];
        }
        g.out[u] = k > 0 ? dart_of[u][r[0]] : 0;
    }
    return g;
}

void to_plane_graph(const embedding& g, plane_graph& p)
{
    p.rotation.resize(g.nv);
    for (int v = 0; v < g.nv; ++v) {
        auto& r = p.rotation[v];
        r.resize(g.degree[v]);
        int d = g.out[v];
        for (int& x : r) {
            x = g.head[d];
            d = g.next[d];
        }
    }
}

embedding wheel(int spokes)
{
    // The hub 0 sees the rim 1..k clockwise; a rim vertex sees the hub, then
    // the rim vertex before it, then the one after it.
    plane_graph p;
    p.rotation.resize(spokes + 1);
    for (int i = 1; i <= spokes; ++i) {
        p.rotation[0].push_back(i);
        p.rotation[i] = {0, i == 1 ? spokes : i - 1, i == spokes ? 1 : i + 1};
    }
    return from_plane_graph(p);
}

void add_edge(const embedding& g, const face_table& f, int da, int db, embedding& c, face_table& cf)
{
    c = g;
    const int a = tail(g, da);
    const int b = tail(g, db);
    const int ab = 2 * g.ne;
    const int ba = ab + 1;
    c.ne = g.ne + 1;
    c.head[ab] = static_cast<std::uint8_t>(b);
    c.head[ba] = static_cast<std::uint8_t>(a);
    const auto link = [&c](int d, int before) {
        const int after = c.prev[before];
        c.next[after] = static_cast<std::uint8_t>(d);
        c.prev[d] = static_cast<std::uint8_t>(after);
        c.next[d] = static_cast<std::uint8_t>(before);
        c.prev[before] = static_cast<std::uint8_t>(d);
    };
    link(ab, da);
    link(ba, db);
    ++c.degree[a];
    ++c.degree[b];

    // The face splits: the new one runs from da round to b, then back to a.
    cf = f;  // a copy of fixed arrays is cheaper than a loop over the parts in use
    const int old = f.of_dart[da];
    const int made = cf.nf++;
    vertex_set on = vertex_set{1} << a;
    int size = 1;
    for (int d = da; d != ba; d = face_next(c, d), ++size) {
        cf.of_dart[d] = static_cast<std::uint8_t>(made);
        on |= vertex_set{1} << c.head[d];
    }
    cf.of_dart[ba] = static_cast<std::uint8_t>(made);
    cf.first[made] = static_cast<std::uint8_t>(ba);
    cf.size[made] = static_cast<std::uint8_t>(size);
    cf.vertices[made] = on;
    cf.of_dart[ab] = static_cast<std::uint8_t>(old);
    cf.first[old] = static_cast<std::uint8_t>(ab);
    cf.size[old] = static_cast<std::uint8_t>(f.size[old] + 2 - size);
    cf.vertices[old] = (f.vertices[old] & ~on) | vertex_set{1} << a | vertex_set{1} << b;
    cf.neighbours[a] |= vertex_set{1} << b;
    cf.neighbours[b] |= vertex_set{1} << a;
}

void split_vertex(const embedding& g, const face_table& f, int first, int count, embedding& c,
                  face_table& cf)
{
    c = g;
    cf = f;  // a copy of fixed arrays is cheaper than a loop over the parts in use
    const int v = tail(g, first);
    const int w = g.nv;
    const vertex_set vbit = vertex_set{1} << v;
    const vertex_set wbit = vertex_set{1} << w;
    const int vw = 2 * g.ne;
    const int wv = vw + 1;
    c.nv = g.nv + 1;
    c.ne = g.ne + 1;
    // The faces at corners between moved darts pass through w instead of v.
    vertex_set moved = 0;
    int last = first;
    for (int i = 0; i < count; ++i) {
        c.head[last ^ 1] = static_cast<std::uint8_t>(w);
        const int x = g.head[last];
        moved |= vertex_set{1} << x;
        cf.neighbours[x] = (cf.neighbours[x] & ~vbit) | wbit;
        if (i > 0) {
            const int h = f.of_dart[last];
            cf.vertices[h] = (cf.vertices[h] & ~vbit) | wbit;
        }
        if (i + 1 < count) last = g.next[last];
    }
    cf.neighbours[v] = (f.neighbours[v] & ~moved) | wbit;
    cf.neighbours[w] = moved | vbit;
    const int before = g.prev[first];  // stays with v
    const int after = g.next[last];    // stays with v
    c.head[vw] = static_cast<std::uint8_t>(w);
    c.head[wv] = static_cast<std::uint8_t>(v);
    c.next[before] = static_cast<std::uint8_t>(vw);
    c.prev[vw] = static_cast<std::uint8_t>(before);
    c.next[vw] = static_cast<std::uint8_t>(after);
    c.prev[after] = static_cast<std::uint8_t>(vw);
    c.next[last] = static_cast<std::uint8_t>(wv);
    c.prev[wv] = static_cast<std::uint8_t>(last);
    c.next[wv] = static_cast<std::uint8_t>(first);
    c.prev[first] = static_cast<std::uint8_t>(wv);
    c.degree[v] = static_cast<std::uint8_t>(g.degree[v] - count + 1);
    c.degree[w] = static_cast<std::uint8_t>(count + 1);
    c.out[v] = static_cast<std::uint8_t>(vw);
    c.out[w] = static_cast<std::uint8_t>(wv);
    // The two faces at the ends of the run pass through both, along the new edge.
    const int at_first = f.of_dart[first];
    const int at_after = f.of_dart[after];
    cf.of_dart[vw] = static_cast<std::uint8_t>(at_first);
    cf.of_dart[wv] = static_cast<std::uint8_t>(at_after);
    ++cf.size[at_first];
    ++cf.size[at_after];
    cf.vertices[at_first] |= wbit;
    cf.vertices[at_after] |= wbit;
}

// A 2-connected plane graph whose faces are cycles is 3-connected exactly
// when any two faces meet in nothing, one vertex or one edge. Deleting or
// contracting an edge of a c-net leaves it 2-connected, and only the
// pairs of faces that the change touches can go wrong.

bool deletable(const embedding&, const face_table& f, int e)
{
    // The two faces beside e become one: another face may meet the union
    // only where it meets a single one of them, or both in the same place.
    const int left = f.of_dart[2 * e];
    const int right = f.of_dart[2 * e + 1];
    const vertex_set l = f.vertices[left];
    const vertex_set r = f.vertices[right];
    for (int h = 0; h < f.nf; ++h) {
        if (h == left || h == right) continue;
        const vertex_set a = f.vertices[h] & l;
        const vertex_set b = f.vertices[h] & r;
        if ((a & ~b) != 0 && (b & ~a) != 0) return false;
    }
    return true;
}

bool contractible(const embedding& g, const face_table& f, int e)
{
    // A common neighbour would give a double edge; otherwise a face round
    // one end and a face round the other (not beside e) must not meet.
    const int u = g.head[2 * e + 1];
    const int v = g.head[2 * e];
    if ((f.neighbours[u] & f.neighbours[v]) != 0) return false;
    const int left = f.of_dart[2 * e];
    const int right = f.of_dart[2 * e + 1];
    const auto around = [&](int x) {
        vertex_set on = 0;
        int d = g.out[x];
        for (int i = 0; i < g.degree[x]; ++i, d = g.next[d]) {
            const int h = f.of_dart[d];
            if (h != left && h != right) on |= f.vertices[h];
        }
        return on;
    };
    return (around(u) & around(v)) == 0;
}

}  // namespace cnet
