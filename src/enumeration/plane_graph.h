// A graph drawn in the plane, as the enumeration passes it from the
// generator (or a planar_code file) to the solver of currents.
#pragma once

#include <vector>

// The rotation system of a simple connected plane graph: for each vertex
// 0 .. n-1, its neighbours in clockwise order. Every edge u v appears once
// in the rotation of u and once in that of v.
struct plane_graph {
    std::vector<std::vector<int>> rotation;
};
