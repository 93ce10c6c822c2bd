// The currents of a c-net at unit resistances: the adjugate of its
// Laplacian, grounded at its last vertex, by fraction-free elimination.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "enumeration/plane_check.h"

// adj(L_g) and det(L_g) = tau(G), the spanning trees. With current fed in
// at s and taken out at t, vertex v's potential is
// adjugate(v, s) - adjugate(v, t), the ground's 0: the battery edge s t,
// part of L, then carries tau(G/e) and the rest of the network tau(G - e).
struct graph_currents {
    int n = 0;
    std::int64_t trees = 0;
    std::vector<std::int64_t> adjugate;  // (n - 1) x (n - 1), by rows
    std::vector<std::int64_t> matrix;    // the elimination's, kept from graph to graph

    std::int64_t at(int row, int column) const
    {
        if (row == n - 1 || column == n - 1) return 0;
        return adjugate[static_cast<std::size_t>(row) * (n - 1) + column];
    }
};

// One elimination serves every battery edge of the graph. False, with
// `problem` set, when a number of the elimination leaves 128 bits or the
// adjugate leaves 60.
bool solve_currents(const plane_darts& darts, graph_currents& out, std::string& problem);
