#include "files/file_system.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "files/interrupt_cleanup.h"
#include "files/system_files.h"

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
        const place p = placed(found.path);
        // Absent or unreachable: creating the file will tell.
        if (fstatat(p.at, p.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return {};
        if (S_ISLNK(status.st_mode)) {
            // The link itself gives way to the new file, as a new file of its own.
            if (how == links::replace) return {};
            std::string link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4096),
                             '\0');
            const auto length = readlinkat(p.at, p.name.c_str(), link.data(), link.size());
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
        if (faccessat(p.at, p.name.c_str(), W_OK, AT_EACCESS) != 0) {
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
#ifndef _WIN32
        const place p = placed(path);
        const int made = ::openat(p.at, p.name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (made < 0) return std::string(std::strerror(errno));
        if (mode >= 0 && fchmod(made, static_cast<mode_t>(mode)) != 0) {
            const std::string error = std::strerror(errno);
            ::close(made);
            ::unlinkat(p.at, p.name.c_str(), 0);  // made just now, with O_EXCL: this run's own
            return error;
        }
#else
        const int made = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
        if (made < 0) return std::string(std::strerror(errno));
        (void)mode;
#endif
        handle = made;
        return std::string();
    });
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
    {
        const std::lock_guard<std::mutex> changing(held_mutex_);
        for (auto d = held_.begin(); d != held_.end(); ++d) {
            if (d->handle == handle) {
                held_.erase(d);
                break;
            }
        }
    }
    return ::close(handle) != 0 ? std::strerror(errno) : std::string();
}

std::string system_file_system::replace(const std::string& from, const std::string& to)
{
#ifndef _WIN32
    const place old_name = placed(from);
    const place new_name = placed(to);
    if (renameat(old_name.at, old_name.name.c_str(), new_name.at, new_name.name.c_str()) != 0)
        return std::strerror(errno);
    forget_temporary(from);
    return {};
#else
    // std::filesystem::rename replaces an existing file on every platform,
    // which std::rename does not do on Windows.
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error) forget_temporary(from);
    return error ? error.message() : std::string();
#endif
}

void system_file_system::remove(const std::string& path)
{
    // unlink, not remove: a directory of that name stays.
#ifndef _WIN32
    const place p = placed(path);
    ::unlinkat(p.at, p.name.c_str(), 0);
#else
    ::_unlink(path.c_str());
#endif
    forget_temporary(path);
}

std::size_t system_file_system::longest_name(const std::string& directory)
{
#ifndef _WIN32
    const int held = held_handle(directory);
    const long longest = held >= 0
                             ? fpathconf(held, _PC_NAME_MAX)
                             : pathconf(directory.empty() ? "." : directory.c_str(), _PC_NAME_MAX);
    if (longest > 0) return static_cast<std::size_t>(longest);
#else
    (void)directory;
#endif
    return 255;
}

bool system_file_system::same_file(const std::string& a, const std::string& b)
{
#ifndef _WIN32
    const auto identify = [&](const std::string& path, struct stat& status) {
        const int descriptor = descriptor_named(path);
        if (descriptor >= 0) return fstat(descriptor, &status) == 0;
        const place p = placed(path);
        return fstatat(p.at, p.name.c_str(), &status, 0) == 0;
    };
    struct stat first {
    }, second{};
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
    const place p = placed(path);
    const int got =
        descriptor >= 0 ? fstat(descriptor, &status) : fstatat(p.at, p.name.c_str(), &status, 0);
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
