#include "files/file_system.h"

int descriptor_named(const std::string& path)
{
    if (path == "-" || path == "/dev/stdout") return 1;
    if (path == "/dev/stdin") return 0;
    if (path == "/dev/stderr") return 2;
    const std::string fd = "/dev/fd/";
    if (path.size() <= fd.size() || path.size() > fd.size() + 9 ||
        path.compare(0, fd.size(), fd) != 0) {
        return -1;
    }
    int number = 0;
    for (std::size_t i = fd.size(); i < path.size(); ++i) {
        if (path[i] < '0' || path[i] > '9') return -1;
        number = number * 10 + (path[i] - '0');
    }
    return number;
}
