#include "document/file_system.h"

#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1  // sync_file_range
#endif
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "document/interrupt_cleanup.h"

#ifdef _WIN32
#include <io.h>
#else
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

// A temporary file is remembered before it is made and forgotten once it
// has its name or is gone, so a signal at any moment finds it remembered
// while it exists (removing a name not yet made, or gone, does no harm).
// No signal need be held back: that would cost two calls a file.
std::string system_file_system::create_new(const std::string& path, int mode, int& handle)
{
    remember_temporary(path);
    handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
    std::string error = handle < 0 ? std::strerror(errno) : std::string();
#ifndef _WIN32
    if (handle >= 0 && mode >= 0 && fchmod(handle, static_cast<mode_t>(mode)) != 0) {
        error = std::strerror(errno);
        ::close(handle);
        ::unlink(path.c_str());
        handle = -1;
    }
#else
    (void)mode;
#endif
    if (!error.empty()) forget_temporary(path);
    return error;
}

#if defined(O_TMPFILE) && !defined(_WIN32)

std::string system_file_system::create_unnamed(const std::string& directory, int& handle)
{
    handle = ::open(directory.empty() ? "." : directory.c_str(), O_WRONLY | O_TMPFILE, 0666);
    return handle < 0 ? std::strerror(errno) : std::string();
}

std::string system_file_system::name_unnamed(int handle, const std::string& path, bool replace,
                                             int mode)
{
    // The descriptor's name under /proc: linking it by descriptor needs
    // a privilege, through /proc it does not.
    const std::string self = "/proc/self/fd/" + std::to_string(handle);
    if (!replace) {
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return {};
        return std::strerror(errno);
    }
    if (mode >= 0 && fchmod(handle, static_cast<mode_t>(mode)) != 0) return std::strerror(errno);
    const std::string temporary =
        path + "." + std::to_string(getpid()) + "-" + std::to_string(handle) + ".tmp";
    remember_temporary(temporary);
    std::string error;
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0 ||
        ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        ::unlink(temporary.c_str());
    }
    forget_temporary(temporary);
    return error;
}

#else

std::string system_file_system::create_unnamed(const std::string&, int&)
{
    return std::strerror(ENOSYS);
}

std::string system_file_system::name_unnamed(int, const std::string&, bool, int)
{
    return std::strerror(ENOSYS);
}

#endif

std::string system_file_system::open_in_place(const std::string& path, int& handle)
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

std::string system_file_system::open_descriptor(int number, int& handle)
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
    std::remove(path.c_str());
    forget_temporary(path);
}

std::string system_file_system::make_directory(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) return error.message();
    if (!std::filesystem::is_directory(path, error)) return std::strerror(ENOTDIR);
    return {};
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
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
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

#ifndef _WIN32
#include <dirent.h>

namespace {

std::int64_t modified_ns(const struct stat& status)
{
#ifdef __APPLE__
    const timespec& t = status.st_mtimespec;
#else
    const timespec& t = status.st_mtim;
#endif
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

std::string system_file_system::list_directory(const std::string& path, std::vector<entry>& entries)
{
    entries.clear();
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return std::strerror(errno);
    std::string error;
    errno = 0;
    while (const dirent* found = readdir(dir)) {
        const std::string name = found->d_name;
        if (name == "." || name == "..") continue;
        struct stat status {};
        // A name gone since it was listed is simply not there.
        if (fstatat(dirfd(dir), found->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        entries.push_back({name, modified_ns(status)});
        errno = 0;
    }
    if (errno != 0) error = std::strerror(errno);
    closedir(dir);
    return error;
}

std::string system_file_system::time_now(const std::string& directory, std::int64_t& now)
{
    // The time of a file made there now and removed at once: the clock of
    // the file system (a server's, for a network one), not this machine's.
    std::string probe = directory;
    if (probe.empty() || probe.back() != '/') probe += '/';
    probe += ".squares2tex-" + std::to_string(getpid()) + ".tmp";
    remember_temporary(probe);
    const int handle = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (handle < 0) {
        forget_temporary(probe);
        return std::strerror(errno);
    }
    struct stat status {};
    const bool known = fstat(handle, &status) == 0;
    const std::string error = known ? std::string() : std::strerror(errno);
    ::close(handle);
    ::unlink(probe.c_str());
    forget_temporary(probe);
    if (known) now = modified_ns(status);
    return error;
}

#else

std::string system_file_system::list_directory(const std::string& path, std::vector<entry>& entries)
{
    entries.clear();
    std::error_code error;
    for (std::filesystem::directory_iterator it(path, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        const auto time = std::filesystem::last_write_time(it->path(), ignored);
        entries.push_back({it->path().filename().string(),
                           static_cast<std::int64_t>(time.time_since_epoch().count())});
    }
    return error ? error.message() : std::string();
}

std::string system_file_system::time_now(const std::string& directory, std::int64_t& now)
{
    std::string probe = directory;
    if (probe.empty() || (probe.back() != '/' && probe.back() != '\\')) probe += '/';
    probe += ".squares2tex-time.tmp";
    const int handle = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (handle < 0) return std::strerror(errno);
    ::close(handle);
    std::error_code error;
    const auto time = std::filesystem::last_write_time(probe, error);
    std::filesystem::remove(probe, error);
    now = static_cast<std::int64_t>(time.time_since_epoch().count());
    return {};
}

#endif
