// How many processors this process may run on.
#pragma once

// Those online and allowed to it (by taskset, a container's limits), at least 1.
int online_cores();
