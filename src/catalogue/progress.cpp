#include "catalogue/progress.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr auto first_shown = std::chrono::seconds(1);
constexpr auto between_updates = std::chrono::milliseconds(250);

}  // namespace

progress::progress(const char* things)
    : things_(things), terminal_(isatty(fileno(stderr)) != 0), start_(clock::now()), shown_at_(start_)
{
}

progress::~progress()
{
    clear();
}

void progress::update(std::int64_t cases)
{
    if (!terminal_) return;
    const clock::time_point now = clock::now();
    if (now - start_ < first_shown || now - shown_at_ < between_updates) return;
    shown_at_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::string line = "squares2tex: " + std::to_string(cases) + " " + things_ + ", " +
                       std::to_string(static_cast<std::int64_t>(cases / seconds)) + " a second";
    // Blanks over whatever is left of a longer line before.
    const std::size_t length = line.size();
    if (length < shown_length_) line.append(shown_length_ - length, ' ');
    std::fputs(("\r" + line).c_str(), stderr);
    std::fflush(stderr);
    shown_length_ = length;
}

void progress::clear()
{
    if (shown_length_ == 0) return;
    std::fputs(("\r" + std::string(shown_length_, ' ') + "\r").c_str(), stderr);
    std::fflush(stderr);
    shown_length_ = 0;
}
