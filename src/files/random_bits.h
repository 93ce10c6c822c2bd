// Random bits for the names of temporary files. Names differ between runs
// by the clock and between the files of one run by their owners' addresses
// and the clock; a clash only costs another attempt. (Asking the system for
// random bits costs more than writing a small drawing.)
#pragma once

#include <chrono>
#include <cstdint>

inline std::uint64_t temporary_seed(const void* owner)
{
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           (reinterpret_cast<std::uintptr_t>(owner) << 16) ^
           static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

// Steps `state` and returns well-mixed bits of it (splitmix64).
inline std::uint64_t mixed(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}
