// What a graph read from a file is: a c-net (a 3-connected simple plane
// graph), some other graph, or no plane embedding at all.
#pragma once

#include <string>
#include <vector>

#include "enumeration/embedding.h"
#include "enumeration/plane_graph.h"

// The rotation system as directed edges (darts): the darts of vertex v are
// first[v] .. first[v + 1] - 1, in its clockwise order.
struct plane_darts {
    std::vector<int> first;       // per vertex, and one past the last
    std::vector<int> tail;        // per dart
    std::vector<int> head;        // per dart
    std::vector<int> reverse;     // per dart, the same edge the other way
    std::vector<int> face;        // per dart, the face it bounds
    int faces = 0;                // -1 until the faces are traced
    std::vector<int> face_first;  // the darts of face f: face_darts[face_first[f] ..]
    std::vector<int> face_darts;
    std::vector<long long> keys;  // scratch
    std::vector<int> order;       // scratch
    std::vector<int> low;         // scratch of the connectivity test
    std::vector<int> seen;        // scratch
    std::vector<int> stack;       // scratch
};

enum class graph_kind { c_net, not_simple, not_3_connected, not_embedding };

// The graphs squares2tex solves have at most this many vertices.
constexpr int most_vertices = 1000;

// Fills `darts` and tells what `g` is; for not_embedding and for a graph of
// more than most_vertices, `problem` says why.
graph_kind check_plane_graph(const plane_graph& g, plane_darts& darts, std::string& problem);

// Fills `darts` of a c-net in the generator's form: its darts are paired
// already, so they are only numbered, vertex by vertex from `out` in
// clockwise order, as check_plane_graph numbers those of its rotations.
// The faces are left untraced: a squares run seldom needs them.
void darts_of(const cnet::embedding& g, plane_darts& darts);
// The same, faces traced, of a c-net given as rotations.
void trace_darts(const plane_graph& g, plane_darts& darts);
void trace_faces(plane_darts& darts);

// The dual of the plane graph of `darts`: a vertex for each face, its
// neighbours the faces across its edges in the order they bound it.
void dual_of(const plane_darts& darts, plane_graph& dual);
