// A batch's graphs solved on one worker: each file graph judged first, each
// generated c-net (with V <= F) counted with its dual and solved for both.
#pragma once

#include "enumeration/graph_batch.h"
#include "enumeration/solve_graph.h"

// Fills the batch's codes of the kinds `wanted`, its counts, and `b.error`
// for the first graph that stops the run. A run for squares alone screens
// both of two dual c-nets with V = F; any other run solves one. With
// `count`, a run that solves one c-net of each class and its dual's
// counts the rectangles no other c-net can give, without their codes.
void solve_batch(graph_batch& b, const bool (&wanted)[kinds], bool count, solve_scratch& scratch);

// Of a c-net with as many vertices as faces and its dual, both generated,
// whether the dual is the one solved (the other gives the same rectangles,
// turned). Exactly one of the two is when they differ; a self-dual c-net
// is solved. `scratch.darts` holds the c-net's darts.
bool dual_comes_first(const cnet::embedding& g, solve_scratch& scratch);
