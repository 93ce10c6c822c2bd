// The order of a run, and the one place where its failures are reported.
#pragma once

// The whole run of `squares2tex [OPTION]... CASE` or of a catalogue:
// returns the exit status after printing what it has to say as it goes.
int run(int argc, const char* const* argv);
