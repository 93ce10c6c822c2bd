// The one place where a run's errors and warnings are printed: on standard
// error, one line each, naming the file and line they concern.
#pragma once

#include <cstdint>
#include <string>

// "squares2tex: FILE:LINE: MESSAGE" and a line end; no ":LINE" for line 0,
// no "FILE: " for an empty file.
std::string format_message(const std::string& file, std::int64_t line, const std::string& message);

// "1 case", "2 cases": a count and the word for it.
std::string count_of(std::int64_t n, const char* one, const char* many);

// Prints the message on standard error.
void print_message(const std::string& file, std::int64_t line, const std::string& message);

// Prints messages already formed, in one write.
void print_messages(const std::string& messages);

// Standard output, as the run writes to it. A failed write ends the run:
// nobody reads what would follow, and an enumeration could go on for hours.
struct output_stream {
    // Set once the failure has been thrown, so that it is reported once.
    bool failed = false;
};

// Writes `text`; throws conversion_error ("cannot write to standard output: ...")
// when the write fails.
void print_out(output_stream& out, const std::string& text);

// Flushes standard output; false, with the failure printed, when the flush
// fails (a failure already thrown is not printed again).
bool finish_out(output_stream& out);
