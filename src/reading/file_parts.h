// Positions in a catalogue file, past 2 GiB on every platform, and where
// the parts of a --part begin.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// "cannot read the catalogue: " and the system's reason.
std::string catalogue_read_failure();

bool seek_to(std::FILE* stream, std::int64_t offset);
std::int64_t position_of(std::FILE* stream);

// The size of a regular file, or -1 for anything else.
std::int64_t regular_file_size(std::FILE* stream);

// Where part j of n of a file of `size` bytes begins: the first line
// beginning at or after j/n of the file. Throws when a read fails.
std::int64_t part_boundary(std::FILE* stream, std::int64_t j, std::int64_t n, std::int64_t size);
