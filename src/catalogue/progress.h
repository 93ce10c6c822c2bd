// One line on a terminal that tells how far a long catalogue run has come.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

class progress {
public:
    // Shown only when standard error is a terminal; `things` names what is counted.
    explicit progress(const char* things = "cases");
    ~progress();
    progress(const progress&) = delete;
    progress& operator=(const progress&) = delete;

    // The cases done so far: shown once the run has lasted a second, then
    // at most four times a second.
    void update(std::int64_t cases);

    // Erases the line, before anything else is written to standard error
    // and at the end.
    void clear();

private:
    using clock = std::chrono::steady_clock;
    const char* things_;
    bool terminal_;
    clock::time_point start_;
    clock::time_point shown_at_;
    std::size_t shown_length_ = 0;  // of the line on the terminal; 0: none
};
