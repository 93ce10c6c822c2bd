#include "files/interrupt_cleanup.h"

#include <atomic>
#include <cerrno>
#include <cstring>

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

// A slot is taken and freed without a lock, so that no thread waits for
// one the handler interrupted: free, being filled, remembered (the path
// stands), or remembered and being compared with a path to forget.
enum : int { free_slot, filling, remembered_slot, comparing };

struct slot {
    std::atomic<int> state;
    std::atomic<std::size_t> hash;  // of the path: most slots are passed over by it
    char path[longest_path];
};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads slots without locks");
static_assert(std::atomic<bool>::is_always_lock_free, "the handler sets `dying` without locks");

// The run's only global state: a signal handler can reach nothing else.
slot remembered[slots];
// Threads that hold the signals back for good and are making a temporary
// file now; once `dying` is set they make none.
std::atomic<int> making{0};
std::atomic<bool> dying{false};

// Whether this thread holds the signals back for good (workers, writers).
thread_local bool interrupts_blocked = false;

extern "C" void remove_temporaries(int signal_number)
{
    // Runs on a thread that makes no file meanwhile (it holds the signals
    // back while it does); the others finish the file they are making,
    // which is then remembered, and make no more.
    dying.store(true);
    while (making.load() != 0) {
    }
    for (const slot& s : remembered) {
        const int state = s.state.load();
        if (state == remembered_slot || state == comparing) unlink(s.path);
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

void remember(const std::string& path, std::size_t hash)
{
    for (slot& s : remembered) {
        int expected = free_slot;
        if (!s.state.compare_exchange_strong(expected, filling)) continue;
        std::memcpy(s.path, path.c_str(), path.size() + 1);
        s.hash.store(hash);
        s.state.store(remembered_slot);
        return;
    }
}

// Holds the signals back from this thread while it lives, unless they are
// held back for good; then it counts as a thread making a file.
class making_file {
public:
    making_file()
    {
        if (interrupts_blocked) {
            making.fetch_add(1);
            return;
        }
        const sigset_t set = handled_set();
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
    }
    ~making_file()
    {
        if (interrupts_blocked) {
            making.fetch_sub(1);
        } else {
            pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
        }
    }
    making_file(const making_file&) = delete;
    making_file& operator=(const making_file&) = delete;

private:
    sigset_t previous_{};
};

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

std::string make_temporary(const std::string& path, const std::function<std::string()>& make)
{
    if (path.size() >= longest_path) return make();
    const std::size_t hash = std::hash<std::string>{}(path);
    const making_file guard;
    if (dying.load()) return "the run is ending by a signal";
    std::string error = make();
    if (error.empty()) remember(path, hash);
    return error;
}

void forget_temporary(const std::string& path)
{
    const std::size_t hash = std::hash<std::string>{}(path);
    for (slot& s : remembered) {
        if (s.hash.load() != hash) continue;
        int expected = remembered_slot;
        while (!s.state.compare_exchange_strong(expected, comparing)) {
            // Another thread compares it with its own path: wait for it.
            if (expected != comparing) break;
            expected = remembered_slot;
        }
        if (expected != remembered_slot) continue;
        // Only this thread compares it now, and the path stands.
        if (path == s.path) {
            s.state.store(free_slot);
            return;
        }
        s.state.store(remembered_slot);
    }
}

void end_run_if_pipe_closed(const std::string& error)
{
    // Raised in this thread: the handler, if installed and the signal not
    // held back here, removes the temporary files and ends the run.
    if (error == std::strerror(EPIPE)) raise(SIGPIPE);
}

void block_interrupts_in_this_thread()
{
    const sigset_t set = handled_set();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    interrupts_blocked = true;
}

#else

// Windows delivers Ctrl-C on a thread of its own while the file is open,
// and an open file cannot be removed there: nothing is done.
void install_interrupt_cleanup() {}
std::string make_temporary(const std::string&, const std::function<std::string()>& make)
{
    return make();
}
void forget_temporary(const std::string&) {}
void end_run_if_pipe_closed(const std::string&) {}
void block_interrupts_in_this_thread() {}

#endif
