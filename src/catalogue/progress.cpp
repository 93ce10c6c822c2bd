#include "catalogue/progress.h"

#include <algorithm>
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

std::string progress_line(std::int64_t cases, double seconds, std::int64_t done_bytes,
                          std::int64_t total_bytes, const char* things)
{
    std::string line = "squares2tex: " + std::to_string(cases) + " " + things + ", " +
                       std::to_string(static_cast<std::int64_t>(seconds > 0 ? cases / seconds : 0)) +
                       " a second";
    if (total_bytes <= 0 || done_bytes <= 0) return line;
    const std::int64_t done = std::min(done_bytes, total_bytes);
    line += ", " + std::to_string(done * 100 / total_bytes) + "%";
    // The pace so far: h:mm:ss, or m:ss under an hour.
    const auto left = static_cast<std::int64_t>(seconds * static_cast<double>(total_bytes - done) /
                                                    static_cast<double>(done) +
                                                0.5);
    const auto two = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    const std::string minutes = left >= 3600 ? std::to_string(left / 3600) + ":" + two(left / 60 % 60)
                                             : std::to_string(left / 60);
    return line + ", " + minutes + ":" + two(left % 60) + " left";
}

progress::progress(std::int64_t total_bytes, const char* things)
    : things_(things),
      terminal_(isatty(fileno(stderr)) != 0),
      total_bytes_(total_bytes),
      start_(clock::now()),
      shown_at_(start_)
{
}

progress::~progress()
{
    clear();
}

void progress::update(std::int64_t cases, std::int64_t done_bytes)
{
    if (!terminal_) return;
    const clock::time_point now = clock::now();
    if (now - start_ < first_shown || now - shown_at_ < between_updates) return;
    shown_at_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::string line = progress_line(cases, seconds, done_bytes, total_bytes_, things_);
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
