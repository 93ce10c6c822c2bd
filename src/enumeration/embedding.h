// The generator's own form of a plane graph: darts in fixed arrays, so a
// child is a copy and a few stores, and the tests of 3-connectivity after
// an edge is deleted or contracted are a few word operations on faces.
#pragma once

#include <cstdint>

#include "enumeration/cnet_share.h"
#include "enumeration/plane_graph.h"

namespace cnet {

constexpr int max_edges = cnet_max_edges;
constexpr int max_darts = 2 * max_edges;
// A c-net has V <= 2E/3, so 32 vertices always suffice: sets of vertices are words.
constexpr int max_vertices = 32;
using vertex_set = std::uint32_t;

// Darts 2i and 2i+1 are the two directions of edge i; `next` and `prev`
// go clockwise and counter-clockwise around the dart's tail.
struct embedding {
    int nv = 0;
    int ne = 0;
    std::uint8_t head[max_darts];
    std::uint8_t next[max_darts];
    std::uint8_t prev[max_darts];
    std::uint8_t degree[max_vertices];
    std::uint8_t out[max_vertices];  // one dart leaving each vertex
};

inline int tail(const embedding& g, int d)
{
    return g.head[d ^ 1];
}
// The dart after d on the face it bounds.
inline int face_next(const embedding& g, int d)
{
    return g.next[d ^ 1];
}

// The faces: each dart bounds one, a face is a simple cycle in a c-net.
struct face_table {
    int nf = 0;
    std::uint8_t of_dart[max_darts];
    std::uint8_t first[max_darts];  // one dart of each face
    std::uint8_t size[max_darts];
    vertex_set vertices[max_darts];
    vertex_set neighbours[max_vertices];
};

void find_faces(const embedding& g, face_table& f);

embedding wheel(int spokes);
embedding from_plane_graph(const plane_graph& p);
void to_plane_graph(const embedding& g, plane_graph& p);

// A new edge across the face that darts da and db both bound, from
// tail(da) to tail(db), placed just before da and db in their rotations.
// The child's faces follow from the parent's: only the one face changes.
void add_edge(const embedding& g, const face_table& f, int da, int db, embedding& child,
              face_table& child_faces);
// A new vertex takes the `count` darts from `first` on clockwise round
// tail(first); a new edge joins it to the old vertex in their place. Only
// the faces round the old vertex change.
void split_vertex(const embedding& g, const face_table& f, int first, int count, embedding& child,
                  face_table& child_faces);

// Whether deleting, or contracting, edge e of a c-net leaves a c-net.
bool deletable(const embedding& g, const face_table& f, int e);
bool contractible(const embedding& g, const face_table& f, int e);

}  // namespace cnet
