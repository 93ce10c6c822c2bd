// Temporary files that a run interrupted by a signal removes before it
// ends, so that Ctrl-C, SIGTERM, SIGHUP or a closed pipe leave none behind.
// (SIGKILL cannot be caught: it may leave one.)
#pragma once

#include <functional>
#include <string>

// Installs the handlers, for each of those signals the run was not told to
// ignore. On a signal the handler removes the files still remembered, then
// ends the process with that same signal.
void install_interrupt_cleanup();

// Makes the temporary file `path` by `make` (an empty string when it made
// it) and remembers it, on any thread: a signal's clean-up either finds it
// remembered, or comes first, and then nothing is made (an error says so).
// Only a file this run made is ever remembered, never a name that was taken.
std::string make_temporary(const std::string& path, const std::function<std::string()>& make);

// Forgets a temporary file once it has its name or is removed.
void forget_temporary(const std::string& path);

// After a write failed with `error`: if the reader of a pipe has gone, ends
// the run by SIGPIPE (its temporary files removed), as a write from this
// thread would have. A thread that holds the signal back sees only the
// error. Returns if the run was told to ignore SIGPIPE: the error is
// then reported.
void end_run_if_pipe_closed(const std::string& error);

// Keeps those signals away from a thread for good (workers and writer
// threads): they are then handled on the main thread.
void block_interrupts_in_this_thread();
