// Preloaded into a run (LD_PRELOAD) to interrupt it at a known point rather
// than after a guessed delay: SIGNAL_AT="SIGNAL CALL N" sends SIGNAL to the
// process once its Nth call of CALL (write, linkat, or rename and renameat
// counted as one) has returned. The signal goes to the process, so a thread
// that blocks it passes it on.
// Signal 0 moves the directory MOVE_DIRECTORY names aside (NAME.old) and
// makes a new one of its name instead, as a user might mid-run.
// FAILED_WRITES_TO=FILE: at exit, FILE holds how many writes failed, the
// measure of how long a run went on after its output failed.
// READ_FAILS_AT=N: the Nth fread of a file past standard error fails with
// EIO, as a failing disk does (glibc's fread reads through an inner read
// that cannot be caught here).
#include <dlfcn.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

template <typename function>
function* real(const char* name)
{
    return reinterpret_cast<function*>(dlsym(RTLD_NEXT, name));
}

void move_directory()
{
    const char* name = getenv("MOVE_DIRECTORY");
    if (!name) return;
    char aside[4096];
    snprintf(aside, sizeof aside, "%s.old", name);
    real<int(const char*, const char*)>("rename")(name, aside);
    mkdir(name, 0777);
}

std::atomic<long> renames;

std::atomic<long> failed_writes;

struct failure_report {
    ~failure_report()
    {
        const char* path = getenv("FAILED_WRITES_TO");
        if (path == nullptr) return;
        if (FILE* out = fopen(path, "w")) {
            fprintf(out, "%ld\n", failed_writes.load());
            fclose(out);
        }
    }
} report_at_exit;

void count_failure()
{
    const int saved = errno;
    ++failed_writes;
    errno = saved;
}

void after(const char* call, std::atomic<long>& calls)
{
    const int saved = errno;  // the call's own, for its caller
    const char* chosen = getenv("SIGNAL_AT");
    char name[16];
    int signal_number = 0;
    long at = 0;
    if (!chosen || sscanf(chosen, "%d %15s %ld", &signal_number, name, &at) != 3 ||
        strcmp(name, call) != 0) {
        errno = saved;
        return;
    }
    if (calls.fetch_add(1) + 1 == at) {
        if (signal_number == 0) {
            move_directory();
        } else {
            kill(getpid(), signal_number);
        }
    }
    errno = saved;
}

}  // namespace

extern "C" {

ssize_t write(int handle, const void* data, size_t size)
{
    static std::atomic<long> calls;
    const ssize_t done = real<decltype(write)>("write")(handle, data, size);
    if (done < 0) count_failure();
    after("write", calls);
    return done;
}

int linkat(int from_directory, const char* from, int to_directory, const char* to, int flags)
{
    static std::atomic<long> calls;
    const int done =
        real<decltype(linkat)>("linkat")(from_directory, from, to_directory, to, flags);
    after("linkat", calls);
    return done;
}

// rename and renameat are one call here: the run uses either.
int rename(const char* from, const char* to)
{
    const int done = real<decltype(rename)>("rename")(from, to);
    after("rename", renames);
    return done;
}

int renameat(int from_directory, const char* from, int to_directory, const char* to)
{
    const int done = real<decltype(renameat)>("renameat")(from_directory, from, to_directory, to);
    after("rename", renames);
    return done;
}

size_t fread(void* data, size_t size, size_t count, FILE* stream)
{
    static std::atomic<long> calls;
    const char* chosen = getenv("READ_FAILS_AT");
    const auto real_fread = real<decltype(fread)>("fread");
    if (chosen == nullptr || fileno(stream) <= 2 || calls.fetch_add(1) + 1 != atol(chosen))
        return real_fread(data, size, count, stream);
    (void)data;
    (void)size;
    (void)count;
    stream->_flags |= _IO_ERR_SEEN;
    errno = EIO;
    return 0;
}

}  // extern "C"
