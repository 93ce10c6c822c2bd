// Names of files within a directory.
#pragma once

#include <string>

// `name` within `directory`.
inline std::string joined(const std::string& directory, const std::string& name)
{
    if (!directory.empty() && directory.back() == '/') return directory + name;
    return directory + "/" + name;
}
