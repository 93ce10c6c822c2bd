// The file a run reads its cases or graphs from.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

// A file opened to read, or standard input for "-" (not closed).
struct input_file {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> owned{nullptr, &std::fclose};
    std::FILE* stream = stdin;
};

// The input as messages name it: "(standard input)" for "-", as grep does.
std::string input_name(const std::string& path);

// Opens `path` with `mode`; throws conversion_error "cannot open WHAT: why".
input_file open_input(const std::string& path, const char* mode, const char* what);
