// Which battery edges of a c-net may give a squared square, found without
// the exact elimination: most c-nets give none, and proving that in double
// precision costs a tenth of solving them exactly.
//
// The battery edge s t gives a square exactly when tau(G / e) = tau(G - e),
// so when tau(G) = tau(G / e) + tau(G - e) is even and the edge's effective
// resistance R_e = tau(G / e) / tau(G) is 1/2. Otherwise
// |R_e - 1/2| = |2 tau(G / e) - tau(G)| / (2 tau(G)) >= 1 / (2 tau(G)).
#pragma once

#include <vector>

#include "enumeration/plane_check.h"

// Whether every number of the exact elimination of the c-net's currents
// stays within its range (so that it cannot fail): each is a minor of the
// grounded Laplacian, at most the product of its diagonal, here at most 2^60.
bool exact_solution_fits(const plane_darts& darts);

// tau(G) mod 2, the determinant of the grounded Laplacian over GF(2); at
// most 32 vertices (false, meaning nothing, past them).
bool tree_count_is_odd(const plane_darts& darts);

struct square_screen {
    // Whether `bound` holds for this graph: every edge left out of
    // `candidates` then gives no square.
    bool sure = false;
    // On |R~_e - R_e| for every edge, R~_e the computed resistance.
    double bound = 0;
    std::vector<int> candidates;     // darts e < reverse(e): |R~_e - 1/2| <= bound
    std::vector<double> resistance;  // R~_e per dart e < reverse(e), else 0
    // Scratch kept from graph to graph.
    std::vector<double> factor;   // the Cholesky factor C of the grounded Laplacian
    std::vector<double> inverse;  // C^-1
    std::vector<int> distance;
};

// The computed resistances, their bound and the candidates; `sure` is
// false when the bound cannot be had (more than 32 vertices, or a graph so
// ill-conditioned that the bound's conditions fail).
void screen_squares(const plane_darts& darts, square_screen& out);
