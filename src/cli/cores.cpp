#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1  // sched_getaffinity
#endif
#include "cli/cores.h"

#include <thread>

#ifdef __linux__
#include <sched.h>
#endif

int online_cores()
{
#ifdef __linux__
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 0) {
        return CPU_COUNT(&allowed);
    }
#endif
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}
