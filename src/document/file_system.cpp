#include "document/file_system.h"

#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1  // sync_file_range
#endif
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "document/interrupt_cleanup.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0  // line ends are written by the drawing itself
#endif

namespace {

// Writes of this size come from large documents: worth starting the disk on.
constexpr std::size_t large_write = 1 << 16;

// Links followed before giving up, as the system does for a path.
constexpr int longest_link_chain = 40;

constexpr int name_attempts = 16;

// A name beside `path` that no file is likely to have: its directory, and
// random hex digits (a clash only costs another attempt).
std::string random_name_beside(const std::string& path, int attempt)
{
    static const char hex[] = "0123456789abcdef";
    std::uint64_t z = static_cast<std::uint64_t>(
                          std::chrono::steady_clock::now().time_since_epoch().count()) ^
                      (reinterpret_cast<std::uintptr_t>(&path) << 16) ^
                      (static_cast<std::uint64_t>(attempt) << 56);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    z ^= z >> 31;
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    name += ".squares2tex-";
    for (int shift = 60; shift >= 0; shift -= 4) name += hex[(z >> shift) & 0xf];
    return name + ".tmp";
}

}  // namespace

std::string system_file_system::find_target(const std::string& path, links how, target& found)
{
    found = target{path};
#ifndef _WIN32
    for (int hops = 0; hops <= longest_link_chain; ++hops) {
        struct stat status {};
        // Absent or unreachable: creating the file will tell.
        if (lstat(found.path.c_str(), &status) != 0) return {};
        if (S_ISLNK(status.st_mode)) {
            // The link itself gives way to the new file, as a new file of its own.
            if (how == links::replace) return {};
            std::string link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4096),
                             '\0');
            const auto length = readlink(found.path.c_str(), link.data(), link.size());
            if (length < 0) return std::strerror(errno);
            link.resize(static_cast<std::size_t>(length));
            if (link.empty() || link[0] != '/') {
                // Relative to the directory holding the link.
                const std::size_t slash = found.path.rfind('/');
                if (slash != std::string::npos) link = found.path.substr(0, slash + 1) + link;
            }
            found.path = link;
            continue;
        }
        if (S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
        // A device, FIFO or socket is written into: replacing it would leave
        // a regular file where the system expects a device (/dev/null). In a
        // shared directory one is left alone: a planted FIFO would take the
        // drawing elsewhere, or hold the run until someone reads it.
        if (!S_ISREG(status.st_mode)) {
            if (how == links::replace) return "not a regular file";
            found.in_place = true;
            return {};
        }
        // Replacing by a rename would succeed where writing the file
        // would not: refuse as writing it would.
        if (faccessat(AT_FDCWD, found.path.c_str(), W_OK, AT_EACCESS) != 0) {
            return std::strerror(errno);
        }
        found.mode = static_cast<int>(status.st_mode & 0777);
        return {};
    }
    return std::strerror(ELOOP);
#else
    (void)how;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::strerror(EISDIR);
    return {};
#endif
}

std::string system_file_system::create_new(const std::string& path, int mode, int& handle)
{
    handle = -1;
    return make_temporary(path, [&] {
        const int made = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
        if (made < 0) return std::string(std::strerror(errno));
#ifndef _WIN32
        if (mode >= 0 && fchmod(made, static_cast<mode_t>(mode)) != 0) {
            const std::string error = std::strerror(errno);
            ::close(made);
            ::unlink(path.c_str());  // made just now, with O_EXCL: this run's own
            return error;
        }
#else
        (void)mode;
#endif
        handle = made;
        return std::string();
    });
}

#if defined(O_TMPFILE) && !defined(_WIN32)

std::string system_file_system::create_unnamed(const std::string& directory, int& handle)
{
    handle = -1;
    if (unnamed_fails_.load()) return "unnamed files cannot be named here";
    // Readable too: where it cannot be linked, it is copied (copy_to).
    handle = ::open(directory.empty() ? "." : directory.c_str(), O_RDWR | O_TMPFILE, 0666);
    return handle < 0 ? std::strerror(errno) : std::string();
}

namespace {

// Gives the file open as `handle` the new name `path` by way of a copy
// under a temporary name, where it cannot be linked itself.
std::string copy_to(int handle, const std::string& path)
{
    struct stat status {};
    if (fstat(handle, &status) != 0) return std::strerror(errno);
    std::string temporary;
    int copy = -1;
    std::string error;
    for (int attempt = 0; attempt < name_attempts && copy < 0; ++attempt) {
        temporary = random_name_beside(path, attempt);
        error = make_temporary(temporary, [&] {
            copy = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, status.st_mode & 0777);
            return copy < 0 ? std::string(std::strerror(errno)) : std::string();
        });
    }
    if (copy < 0) return error;
    char block[1 << 16];
    for (off_t at = 0; error.empty();) {
        const auto got = pread(handle, block, sizeof block, at);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got < 0) error = std::strerror(errno);
            break;
        }
        for (ssize_t done = 0; done < got && error.empty();) {
            const auto put = ::write(copy, block + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno != EINTR) error = std::strerror(errno);
            if (put > 0) done += put;
        }
        at += got;
    }
    if (fchmod(copy, status.st_mode & 0777) != 0 && error.empty()) error = std::strerror(errno);
    if (::close(copy) != 0 && error.empty()) error = std::strerror(errno);
    // A link, not a rename: a name taken meanwhile stays as it is.
    if (error.empty() && link(temporary.c_str(), path.c_str()) != 0) error = std::strerror(errno);
    ::unlink(temporary.c_str());  // made above, with O_EXCL: this run's own
    forget_temporary(temporary);
    return error;
}

}  // namespace

std::string system_file_system::name_unnamed(int handle, const std::string& path, bool temporary,
                                             int mode)
{
    if (mode >= 0 && fchmod(handle, static_cast<mode_t>(mode)) != 0) return std::strerror(errno);
    const auto name = [&] {
        // The descriptor's name under /proc: linking it by descriptor needs
        // a privilege, through /proc it does not.
        const std::string self = "/proc/self/fd/" + std::to_string(handle);
        if (!unnamed_fails_.load()) {
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return std::string();
            if (errno == EEXIST) return std::string(std::strerror(EEXIST));
            // No /proc (a chroot, a container), or it will not link for
            // some other reason: from now on temporary names are used.
            unnamed_fails_.store(true);
        }
        return copy_to(handle, path);
    };
    return temporary ? make_temporary(path, name) : name();
}

#else

std::string system_file_system::create_unnamed(const std::string&, int& handle)
{
    handle = -1;
    return std::strerror(ENOSYS);
}

std::string system_file_system::name_unnamed(int, const std::string&, bool, int)
{
    return std::strerror(ENOSYS);
}

#endif

namespace {

std::string open_in_place(const std::string& path, int& handle)
{
#ifndef _WIN32
    // A FIFO blocks here until a reader comes, as it does for the shell.
    handle = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW);
    if (handle < 0) return std::strerror(errno);
    struct stat status {};
    if (fstat(handle, &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) {
        return {};
    }
    // Swapped for a regular file since it was found: written into, its old
    // tail would remain.
    ::close(handle);
    handle = -1;
    return "it was replaced by a regular file while being opened";
#else
    (void)path;
    handle = -1;
    return std::strerror(ENODEV);
#endif
}

std::string open_descriptor(int number, int& handle)
{
#ifndef _WIN32
    const int flags = fcntl(number, F_GETFL);
    if (flags < 0) return std::strerror(errno);
    if ((flags & O_ACCMODE) == O_RDONLY) return std::strerror(EBADF);
#else
    if (_setmode(number, _O_BINARY) == -1) return std::strerror(errno);
#endif
    handle = number;
    return {};
}

std::string open_to_read(const std::string& path, int& handle)
{
#ifndef _WIN32
    // Never blocked by a FIFO planted at the name, nor led away by a link.
    handle = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (handle < 0) return std::strerror(errno);
    struct stat status {};
    if (fstat(handle, &status) == 0 && S_ISREG(status.st_mode)) return {};
    ::close(handle);
    handle = -1;
    return "not a regular file";
#else
    handle = ::_open(path.c_str(), _O_RDONLY | _O_BINARY);
    return handle < 0 ? std::strerror(errno) : std::string();
#endif
}

std::string open_directory(const std::string& path, bool wait, int& handle)
{
    handle = -1;
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) return error.message();
    if (!std::filesystem::is_directory(path, error)) return std::strerror(ENOTDIR);
#ifndef _WIN32
    // The directory itself is locked: its records are replaced by rename,
    // and a lock file would be one more file in it.
    handle = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return std::strerror(errno);
    while (flock(handle, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        if (errno == EINTR) continue;
        const std::string failure = errno == EWOULDBLOCK ? file_system::busy : std::strerror(errno);
        ::close(handle);
        handle = -1;
        return failure;
    }
    return {};
#else
    // A directory cannot be opened as a file here: a file in it is, shared
    // with no one, and another run fails at once rather than waiting.
    (void)wait;
    std::string lock = path;
    if (lock.back() != '/' && lock.back() != '\\') lock += '/';
    lock += ".squares2tex-lock";
    handle = ::_sopen(lock.c_str(), _O_RDWR | _O_CREAT | _O_BINARY, _SH_DENYRW,
                      _S_IREAD | _S_IWRITE);
    if (handle >= 0) return {};
    return errno == EACCES ? file_system::busy : std::strerror(errno);
#endif
}

}  // namespace

std::string system_file_system::open(const std::string& path, opening how, int& handle)
{
    switch (how) {
    case opening::read:
        return open_to_read(path, handle);
    case opening::in_place:
        return open_in_place(path, handle);
    case opening::descriptor:
        return open_descriptor(descriptor_named(path), handle);
    case opening::directory:
        return open_directory(path, true, handle);
    case opening::directory_now:
        return open_directory(path, false, handle);
    }
    return std::strerror(EINVAL);
}

std::string system_file_system::read(int handle, char* data, std::size_t size, std::size_t& got)
{
    got = 0;
    const unsigned most = size < (1u << 30) ? static_cast<unsigned>(size) : 1u << 30;
    for (;;) {
        const auto read = ::read(handle, data, most);
        if (read >= 0) {
            got = static_cast<std::size_t>(read);
            return {};
        }
        if (errno != EINTR) return std::strerror(errno);
    }
}

std::string system_file_system::write(int handle, const char* data, std::size_t size)
{
    const std::size_t total = size;
    while (size > 0) {
        const unsigned chunk = size < (1u << 30) ? static_cast<unsigned>(size) : 1u << 30;
        const auto written = ::write(handle, data, chunk);
        if (written < 0) {
            if (errno == EINTR) continue;
            return std::strerror(errno);
        }
        if (written == 0) return std::strerror(ENOSPC);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
#ifdef SYNC_FILE_RANGE_WRITE
    // Start the disk on a large document as it is written: the file system
    // would otherwise do all of it when the document takes its name.
    if (total >= large_write) sync_file_range(handle, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)total;
#endif
    return {};
}

std::string system_file_system::close(int handle)
{
    return ::close(handle) != 0 ? std::strerror(errno) : std::string();
}

std::string system_file_system::replace(const std::string& from, const std::string& to)
{
    // std::filesystem::rename replaces an existing file on every platform,
    // which std::rename does not do on Windows.
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error) forget_temporary(from);
    return error ? error.message() : std::string();
}

void system_file_system::remove(const std::string& path)
{
    // unlink, not remove: a directory of that name stays.
#ifndef _WIN32
    ::unlink(path.c_str());
#else
    ::_unlink(path.c_str());
#endif
    forget_temporary(path);
}

std::size_t system_file_system::longest_name(const std::string& directory)
{
#ifndef _WIN32
    const long longest = pathconf(directory.empty() ? "." : directory.c_str(), _PC_NAME_MAX);
    if (longest > 0) return static_cast<std::size_t>(longest);
#else
    (void)directory;
#endif
    return 255;
}

bool system_file_system::same_file(const std::string& a, const std::string& b)
{
#ifndef _WIN32
    const auto identify = [](const std::string& path, struct stat& status) {
        const int descriptor = descriptor_named(path);
        return descriptor >= 0 ? fstat(descriptor, &status) == 0
                               : ::stat(path.c_str(), &status) == 0;
    };
    struct stat first {}, second {};
    return identify(a, first) && identify(b, second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
#else
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
#endif
}

bool system_file_system::regular_file_id(int descriptor, const std::string& path, file_id& id)
{
#ifndef _WIN32
    struct stat status {};
    const int got = descriptor >= 0 ? fstat(descriptor, &status) : stat(path.c_str(), &status);
    if (got != 0 || !S_ISREG(status.st_mode)) return false;
    id.device = static_cast<std::uint64_t>(status.st_dev);
    id.inode = static_cast<std::uint64_t>(status.st_ino);
    return true;
#else
    // Windows gives no inode through stat: every file would look the same.
    (void)descriptor;
    (void)path;
    (void)id;
    return false;
#endif
}

int descriptor_named(const std::string& path)
{
    if (path == "-" || path == "/dev/stdout") return 1;
    if (path == "/dev/stdin") return 0;
    if (path == "/dev/stderr") return 2;
    const std::string fd = "/dev/fd/";
    if (path.size() <= fd.size() || path.size() > fd.size() + 9 ||
        path.compare(0, fd.size(), fd) != 0) {
        return -1;
    }
    int number = 0;
    for (std::size_t i = fd.size(); i < path.size(); ++i) {
        if (path[i] < '0' || path[i] > '9') return -1;
        number = number * 10 + (path[i] - '0');
    }
    return number;
}
