// The c-nets of one number of edges, from the generator, in batches
// through the steps of a run in order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/in_order.h"
#include "enumeration/graph_batch.h"

// Those with at most as many vertices as faces, of share `k` of `n`: with
// one job the generator's thread solves them too; with more it only
// generates, into a bounded queue that `steps.read` (set here) takes from.
void feed_cnets(int edges, std::int64_t k, std::int64_t n, int jobs, std::size_t batch_graphs,
                in_order_steps<graph_batch>& steps);
