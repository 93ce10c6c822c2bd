#include "reading/input_file.h"

#include <cerrno>
#include <cstring>

#include "squares.h"

std::string input_name(const std::string& path)
{
    return path == "-" ? "(standard input)" : path;
}

input_file open_input(const std::string& path, const char* mode, const char* what)
{
    input_file input;
    if (path == "-") return input;
    input.owned.reset(std::fopen(path.c_str(), mode));
    if (!input.owned) {
        throw conversion_error(std::string("cannot open ") + what + ": " + std::strerror(errno));
    }
    input.stream = input.owned.get();
    return input;
}
