// Temporary files that a run interrupted by a signal removes before it
// ends, so that Ctrl-C, SIGTERM, SIGHUP or a closed pipe leave none behind.
// (SIGKILL cannot be caught: it may leave one.)
#pragma once

#include <string>

// Installs the handlers, for each of those signals the run was not told to
// ignore. On a signal the handler removes the files still remembered, then
// ends the process with that same signal.
void install_interrupt_cleanup();

// Remembers a temporary file before it is made, and forgets it once it has
// its name or is removed.
void remember_temporary(const std::string& path);
void forget_temporary(const std::string& path);

// After a write failed with `error`: if the reader of a pipe has gone, ends
// the run by SIGPIPE (its temporary files removed), as a write from this
// thread would have. The writer thread holds the signal back and sees only
// the error. Returns if the run was told to ignore SIGPIPE: the error is
// then reported.
void end_run_if_pipe_closed(const std::string& error);

// Keeps those signals away from a thread for good (the writer thread): they
// are then handled by the thread that creates and renames the files.
void block_interrupts_in_this_thread();
