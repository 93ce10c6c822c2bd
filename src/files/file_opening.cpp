// How the system's files are opened: in place, by descriptor, to read, to
// append, and a directory with the lock that keeps one run in it at a time,
// through whose descriptor the files in it are then reached.
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

using place = system_file_system::place;

std::string open_in_place(const place& path, int& handle)
{
#ifndef _WIN32
    // A FIFO blocks here until a reader comes, as it does for the shell.
    handle = ::openat(path.at, path.name.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW);
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

std::string open_to_read(const place& where, int& handle)
{
#ifndef _WIN32
    // Never blocked by a FIFO planted at the name, nor led away by a link.
    handle = ::openat(where.at, where.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (handle < 0) return std::strerror(errno);
    struct stat status {};
    if (fstat(handle, &status) == 0 && S_ISREG(status.st_mode)) return {};
    ::close(handle);
    handle = -1;
    return "not a regular file";
#else
    // Shared for deletion too, as a file is elsewhere: the file of that
    // name can then be replaced while this one is read.
    const std::string& path = where.name;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::strerror(ENOENT);
        return "cannot be opened (Windows error " + std::to_string(error) + ")";
    }
    handle = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (handle >= 0) return {};
    CloseHandle(file);
    return std::strerror(EMFILE);
#endif
}

std::string open_to_append(const place& where, int& handle)
{
#ifndef _WIN32
    handle = ::openat(where.at, where.name.c_str(),
                      O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
#else
    handle = ::_open(where.name.c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY,
                     _S_IREAD | _S_IWRITE);
#endif
    if (handle < 0) return std::strerror(errno);
    struct stat status {};
    if (fstat(handle, &status) == 0 && S_ISREG(status.st_mode)) return {};
    ::close(handle);
    handle = -1;
    return "not a regular file";
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
    // A directory cannot be locked here: a file in it is, opened shared
    // with no one; a run that finds it open waits, trying again.
    std::string lock = path;
    if (lock.back() != '/' && lock.back() != '\\') lock += '/';
    lock += ".squares2tex-lock";
    for (;;) {
        const HANDLE file = CreateFileA(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_RDWR | _O_BINARY);
            if (handle >= 0) return {};
            CloseHandle(file);
            return std::strerror(EMFILE);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION) {
            return "cannot be locked (Windows error " + std::to_string(error) + ")";
        }
        if (!wait) return file_system::busy;
        Sleep(200);
    }
#endif
}

}  // namespace

int system_file_system::held_handle(const std::string& directory)
{
    std::string path = directory;
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    const std::lock_guard<std::mutex> reading(held_mutex_);
    for (const held_directory& d : held_) {
        if (d.path == path) return d.handle;
    }
    return -1;
}

system_file_system::place system_file_system::placed(const std::string& path)
{
#ifndef _WIN32
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash + 1 < path.size()) {
        const int held = held_handle(path.substr(0, slash + 1));
        if (held >= 0) return {held, path.substr(slash + 1)};
    }
    return {AT_FDCWD, path};
#else
    // No descriptor reaches a directory here: paths are joined to it.
    return {-1, path};
#endif
}

std::string system_file_system::open(const std::string& path, opening how, int& handle)
{
    switch (how) {
        case opening::read:
            return open_to_read(placed(path), handle);
        case opening::in_place:
            return open_in_place(placed(path), handle);
        case opening::descriptor:
            return open_descriptor(descriptor_named(path), handle);
        case opening::append:
            return open_to_append(placed(path), handle);
        case opening::directory:
        case opening::directory_now:
            break;
    }
    if (how != opening::directory && how != opening::directory_now) return std::strerror(EINVAL);
    const std::string error = open_directory(path, how == opening::directory, handle);
#ifndef _WIN32
    if (error.empty()) {
        std::string held = path;
        while (held.size() > 1 && held.back() == '/') held.pop_back();
        const std::lock_guard<std::mutex> changing(held_mutex_);
        held_.push_back({held, handle});
    }
#endif
    return error;
}
