// The c-net generator's rate: `cnet_rate EDGES [K/N] [--few]` counts the
// c-nets of EDGES edges (share K of N; only V <= F with --few) and prints
// the count, the seconds (wall clock and CPU) and the graphs per second of CPU.
// With --graph6 it prints the c-nets instead, one graph6 line each, for
// nauty to compare with other graphs.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <string>

#include "analysis/dissection_net.h"
#include "enumeration/cnet_generator.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cnet_rate EDGES [K/N] [--few]\n");
        return 2;
    }
    const int edges = std::atoi(argv[1]);
    cnet_share share;
    bool few = false;
    bool graph6 = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--few") == 0) few = true;
        else if (std::strcmp(argv[i], "--graph6") == 0) graph6 = true;
        else {
            long long k = 0, n = 0;
            if (std::sscanf(argv[i], "%lld/%lld", &k, &n) != 2) return 2;
            share = {k, n};
        }
    }
    if (graph6) {
        std::string line;
        for_each_cnet(edges, share, few, [&line](const plane_graph& g) {
            line.clear();
            append_graph6(g.rotation, line);
            std::fputs(line.c_str(), stdout);
        });
        return 0;
    }
    long long count = 0;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    for_each_cnet(edges, share, few, [&count](const plane_graph&) { ++count; });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    std::printf("%d\t%lld\t%.3f s\t%.3f s CPU\t%.0f graphs/s of CPU\n", edges, count, seconds, cpu, count / cpu);
}
