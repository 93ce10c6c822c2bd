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

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0  // line ends are written by the document itself
#endif

std::string system_file_system::create_new(const std::string& path, int& handle)
{
    handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
    return handle < 0 ? std::strerror(errno) : std::string();
}

std::string system_file_system::write(int handle, const char* data, std::size_t size)
{
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
    // Start the disk on what is written so far: the file system would
    // otherwise do all of it when the document takes its name.
    sync_file_range(handle, 0, 0, SYNC_FILE_RANGE_WRITE);
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
    return error ? error.message() : std::string();
}

void system_file_system::remove(const std::string& path)
{
    std::remove(path.c_str());
}
