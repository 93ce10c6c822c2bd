#include "messages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shown_text.h"
#include "squares.h"

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

namespace {

std::string standard_output_failure(int error)
{
    return "cannot write to standard output: " + std::string(std::strerror(error));
}

}  // namespace

void print_out(output_stream& out, const std::string& text)
{
    if (out.failed) throw write_error(standard_output_failure(EIO));
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size()) return;
    const int error = errno != 0 ? errno : EIO;
    out.failed = true;
    throw write_error(standard_output_failure(error));
}

bool finish_out(output_stream& out)
{
    if (out.failed) return false;
    errno = 0;
    int error = 0;
    if (std::fflush(stdout) != 0) error = errno != 0 ? errno : EIO;
    if (error == 0 && std::ferror(stdout)) error = EIO;
    if (error == 0) return true;
    out.failed = true;
    print_messages(format_message("", 0, standard_output_failure(error)));
    return false;
}
