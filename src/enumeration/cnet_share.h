// The shares of a generation and the generator's limit, shared by the
// generator and its plane graphs' own form.
#pragma once

#include <cstdint>

// The K-th of N shares of a generation: shares 1..N are disjoint and
// together give every graph exactly once; each costs about 1/N of the
// whole plus a small overhead, for N up to a few thousand.
struct cnet_share {
    std::int64_t k = 1;
    std::int64_t n = 1;
};

// The most edges the generator takes (its graphs live in fixed arrays).
constexpr int cnet_max_edges = 48;
