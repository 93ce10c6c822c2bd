// The system's files without a name (O_TMPFILE), named once complete, and
// the fallback to a temporary name where that cannot be done.
#include "files/file_system.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/interrupt_cleanup.h"
#include "files/random_bits.h"
#include "files/system_files.h"

#if defined(O_TMPFILE) && !defined(_WIN32)

std::string system_file_system::create_unnamed(const std::string& directory, int& handle)
{
    handle = -1;
    if (unnamed_fails_.load()) return "unnamed files cannot be named here";
    // Readable too: where it cannot be linked, it is copied (copy_to).
    const int held = held_handle(directory);
    handle = held >= 0
                 ? ::openat(held, ".", O_RDWR | O_TMPFILE, 0666)
                 : ::open(directory.empty() ? "." : directory.c_str(), O_RDWR | O_TMPFILE, 0666);
    return handle < 0 ? std::strerror(errno) : std::string();
}

namespace {

constexpr int name_attempts = 16;

// A short name beside `path` that no file is likely to have: its
// directory, and random hex digits.
std::string random_name_beside(const std::string& path, std::uint64_t& seed)
{
    static const char hex[] = "0123456789abcdef";
    const std::uint64_t z = mixed(seed);
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    name += ".squares2tex-";
    for (int shift = 60; shift >= 0; shift -= 4) name += hex[(z >> shift) & 0xf];
    return name + ".tmp";
}

// Gives the file open as `handle` the new name `path` by way of a copy
// under a temporary name, where it cannot be linked itself.
std::string copy_to(system_file_system& files, int handle, const std::string& path)
{
    struct stat status {};
    if (fstat(handle, &status) != 0) return std::strerror(errno);
    std::string temporary;
    int copy = -1;
    std::string error;
    std::uint64_t seed = temporary_seed(&path);
    for (int attempt = 0; attempt < name_attempts && copy < 0; ++attempt) {
        temporary = random_name_beside(path, seed);
        error = make_temporary(temporary, [&] {
            const system_file_system::place p = files.placed(temporary);
            copy =
                ::openat(p.at, p.name.c_str(), O_WRONLY | O_CREAT | O_EXCL, status.st_mode & 0777);
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
    const system_file_system::place from = files.placed(temporary);
    const system_file_system::place to = files.placed(path);
    if (error.empty() && linkat(from.at, from.name.c_str(), to.at, to.name.c_str(), 0) != 0)
        error = std::strerror(errno);
    ::unlinkat(from.at, from.name.c_str(), 0);  // made above, with O_EXCL: this run's own
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
            const place to = placed(path);
            if (linkat(AT_FDCWD, self.c_str(), to.at, to.name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return std::string();
            if (errno == EEXIST) return std::string(std::strerror(EEXIST));
            // No /proc (a chroot, a container), or it will not link for
            // some other reason: from now on temporary names are used.
            unnamed_fails_.store(true);
        }
        return copy_to(*this, handle, path);
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
