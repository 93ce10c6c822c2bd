// One line on a terminal that tells how far a long catalogue run has come.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include <string>

// The line shown after `seconds` with `cases` done; with the size of the
// input known (`total_bytes` > 0), also the share of it done and the time
// left at the pace so far.
std::string progress_line(std::int64_t cases, double seconds, std::int64_t done_bytes,
                          std::int64_t total_bytes, const char* things = "cases");

class progress {
public:
    // Shown only when standard error is a terminal; `total_bytes` is the
    // size of the input, or -1 when it is not known; `things` names what is counted.
    explicit progress(std::int64_t total_bytes = -1, const char* things = "cases");
    ~progress();
    progress(const progress&) = delete;
    progress& operator=(const progress&) = delete;

    // The cases and bytes of the input done so far: shown once the run has
    // lasted a second, then at most four times a second.
    void update(std::int64_t cases, std::int64_t done_bytes = 0);

    // Erases the line, before anything else is written to standard error
    // and at the end.
    void clear();

private:
    using clock = std::chrono::steady_clock;
    const char* things_;
    bool terminal_;
    std::int64_t total_bytes_;
    clock::time_point start_;
    clock::time_point shown_at_;
    std::size_t shown_length_ = 0;  // of the line on the terminal; 0: none
};
