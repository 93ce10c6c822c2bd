#include "reading/file_parts.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "squares.h"

namespace {

// The first line that begins at or after `offset`: the byte after the
// first line end at or after offset - 1, where a CR followed by LF ends a
// line at the LF. Only one line is looked at, byte by byte.
std::int64_t line_start_from(std::FILE* stream, std::int64_t offset, std::int64_t size)
{
    if (offset <= 0) return 0;
    if (!seek_to(stream, offset - 1)) throw conversion_error(catalogue_read_failure());
    bool after_cr = false;
    for (std::int64_t at = offset - 1; at < size; ++at) {
        const int c = std::getc(stream);
        if (c == EOF) {
            if (std::ferror(stream)) throw conversion_error(catalogue_read_failure());
            break;
        }
        if (after_cr) return c == '\n' ? at + 1 : at;
        if (c == '\n') return at + 1;
        after_cr = c == '\r';
    }
    return size;
}

}  // namespace

std::string catalogue_read_failure()
{
    return std::string("cannot read the catalogue: ") + std::strerror(errno);
}

bool seek_to(std::FILE* stream, std::int64_t offset)
{
#ifdef _WIN32
    return _fseeki64(stream, offset, SEEK_SET) == 0;
#else
    return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::int64_t position_of(std::FILE* stream)
{
#ifdef _WIN32
    return _ftelli64(stream);
#else
    return static_cast<std::int64_t>(ftello(stream));
#endif
}

std::int64_t regular_file_size(std::FILE* stream)
{
#ifdef _WIN32
    struct _stat64 status {};
    if (_fstat64(_fileno(stream), &status) != 0 || (status.st_mode & _S_IFREG) == 0) return -1;
#else
    struct stat status {};
    if (fstat(fileno(stream), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
#endif
    return static_cast<std::int64_t>(status.st_size);
}

std::int64_t part_boundary(std::FILE* stream, std::int64_t j, std::int64_t n, std::int64_t size)
{
    if (j >= n) return size;
    // j * size / n without overflow for any size.
    const std::int64_t offset = size / n * j + size % n * j / n;
    return line_start_from(stream, offset, size);
}
