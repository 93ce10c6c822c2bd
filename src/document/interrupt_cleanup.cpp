#include "document/interrupt_cleanup.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#ifndef _WIN32
#include <pthread.h>
#include <unistd.h>

#include <csignal>

namespace {

constexpr int handled[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// The temporary files open at once: a drawing on each of a catalogue run's
// threads, its gallery pages and its book.
constexpr int slots = 320;
constexpr std::size_t longest_path = 4096;

// Threads take and free slots under the mutex; the handler takes no lock
// and reads `used` first: lock-free atomics are safe in a signal handler.
struct slot {
    std::atomic<int> used;
    char path[longest_path];
};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads slots without locks");

// The run's only global state: a signal handler can reach nothing else.
slot remembered[slots];
std::mutex slots_changing;

extern "C" void remove_temporaries(int signal_number)
{
    for (const slot& s : remembered) {
        if (s.used.load() != 0) unlink(s.path);
    }
    // The handler was reset on entry: the signal now ends the run as it
    // would have without it.
    raise(signal_number);
}

sigset_t handled_set()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int s : handled) sigaddset(&set, s);
    return set;
}

}  // namespace

void install_interrupt_cleanup()
{
    for (const int s : handled) {
        struct sigaction previous {};
        if (sigaction(s, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = remove_temporaries;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(s, &action, nullptr);
    }
}

void remember_temporary(const std::string& path)
{
    if (path.size() >= longest_path) return;
    const std::lock_guard<std::mutex> lock(slots_changing);
    for (slot& s : remembered) {
        if (s.used.load() != 0) continue;
        std::memcpy(s.path, path.c_str(), path.size() + 1);
        s.used.store(1);
        return;
    }
}

void forget_temporary(const std::string& path)
{
    const std::lock_guard<std::mutex> lock(slots_changing);
    for (slot& s : remembered) {
        if (s.used.load() != 0 && path == s.path) s.used.store(0);
    }
}

void end_run_if_pipe_closed(const std::string& error)
{
    // Raised in this thread, which does not hold it back: the handler, if
    // installed, removes the temporary files and ends the run.
    if (error == std::strerror(EPIPE)) raise(SIGPIPE);
}

void block_interrupts_in_this_thread()
{
    const sigset_t set = handled_set();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

#else

// Windows delivers Ctrl-C on a thread of its own while the file is open,
// and an open file cannot be removed there: nothing is done.
void install_interrupt_cleanup() {}
void remember_temporary(const std::string&) {}
void forget_temporary(const std::string&) {}
void end_run_if_pipe_closed(const std::string&) {}
void block_interrupts_in_this_thread() {}

#endif
