// The codes an enumeration finds, gathered from its batches and written
// once, sorted and each once: the same output for any number of threads,
// and parts that merge with sort -m.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The distinct lines of the texts (each of lines ending in '\n'), without
// their line ends, in the catalogue's order, as the published catalogues
// run: by the order, the longer side and the shorter (the first three
// numbers), then byte by byte, as LC_ALL=C sort -k1,1n -k2,2n -k3,3n -k4
// orders them.
std::vector<std::string_view> sorted_lines(const std::vector<const std::string*>& texts);

// The order a code's line begins with.
int order_of(std::string_view line);
