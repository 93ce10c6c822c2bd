#include "messages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shown_text.h"

std::string count_of(std::int64_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string format_message(const std::string& file, std::int64_t line, const std::string& message)
{
    std::string text = "squares2tex: ";
    if (!file.empty()) {
        text += shown_path(file);
        if (line > 0) text += ":" + std::to_string(line);
        text += ": ";
    }
    text += message + "\n";
    return text;
}

void print_message(const std::string& file, std::int64_t line, const std::string& message)
{
    print_messages(format_message(file, line, message));
}

void print_messages(const std::string& messages)
{
    if (!messages.empty()) std::fwrite(messages.data(), 1, messages.size(), stderr);
}

void print_out(output_stream& out, const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() && out.error.empty()) {
        out.error = std::strerror(errno);
    }
}

bool finish_out(output_stream& out)
{
    if (std::fflush(stdout) != 0 && out.error.empty()) out.error = std::strerror(errno);
    if (out.error.empty() && std::ferror(stdout)) out.error = std::strerror(EIO);
    if (out.error.empty()) return true;
    print_message("", 0, "cannot write to standard output: " + out.error);
    return false;
}
