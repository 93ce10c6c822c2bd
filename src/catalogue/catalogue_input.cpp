#include "catalogue/catalogue_input.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "reading/read_catalogue.h"
#include "reading/value_reader.h"

namespace {

constexpr std::size_t block_size = 64 * 1024;

std::string read_failure()
{
    return std::string("cannot read the catalogue: ") + std::strerror(errno);
}

// Positions in files past 2 GiB, on every platform.
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

// The size of a regular file, or -1 for anything else.
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

// The first line that begins at or after `offset`: the byte after the
// first line end at or after offset - 1, where a CR followed by LF ends a
// line at the LF. Only one line is looked at, byte by byte.
std::int64_t line_start_from(std::FILE* stream, std::int64_t offset, std::int64_t size)
{
    if (offset <= 0) return 0;
    if (!seek_to(stream, offset - 1)) throw conversion_error(read_failure());
    bool after_cr = false;
    for (std::int64_t at = offset - 1; at < size; ++at) {
        const int c = std::getc(stream);
        if (c == EOF) {
            if (std::ferror(stream)) throw conversion_error(read_failure());
            break;
        }
        if (after_cr) return c == '\n' ? at + 1 : at;
        if (c == '\n') return at + 1;
        after_cr = c == '\r';
    }
    return size;
}

// Where part j of n begins: the first line beginning at or after j/n of the file.
std::int64_t part_boundary(std::FILE* stream, std::int64_t j, std::int64_t n, std::int64_t size)
{
    if (j >= n) return size;
    // j * size / n without overflow for any size.
    const std::int64_t offset = size / n * j + size % n * j / n;
    return line_start_from(stream, offset, size);
}

bool starts_with_mark(std::string_view text)
{
    return text.substr(0, 3) == "\xef\xbb\xbf";
}

}  // namespace

// Lines up to `long_line` are cut into batches as text; a longer one (a
// case of half a million squares, or a file with no line ends at all) is
// read straight from the stream so that memory stays bounded.
catalogue_input::catalogue_input(std::FILE* stream, const catalogue_part& part,
                                 std::size_t long_line)
    : stream_(stream), long_line_(long_line)
{
    const std::int64_t size = regular_file_size(stream);
    size_ = size;
    if (part.n == 1) return;
    if (size < 0) throw conversion_error("--part needs a regular file to split");
    const std::int64_t start = part_boundary(stream, part.k - 1, part.n, size);
    end_ = part_boundary(stream, part.k, part.n, size);
    start_ = start;
    size_ = end_ - start;
    // The lines and cases before the part, counted as the reader would.
    if (!seek_to(stream, 0)) throw conversion_error(read_failure());
    line_tally before;
    const std::unique_ptr<char[]> block(new char[block_size]);
    for (std::int64_t at = 0; at < start;) {
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(block_size), start - at));
        const std::size_t got = std::fread(block.get(), 1, want, stream);
        if (got == 0) throw conversion_error(read_failure());
        std::string_view text(block.get(), got);
        if (at == 0 && starts_with_mark(text)) text.remove_prefix(3);
        before.feed(text);
        at += static_cast<std::int64_t>(got);
    }
    if (!seek_to(stream, start)) throw conversion_error(read_failure());
    offset_ = start;
    line_ = 1 + before.lines;
    number_ = before.cases;
}

bool catalogue_input::fill()
{
    if (ended_) return false;
    // What is left moves to the front; a line longer than the buffer grows it.
    const std::size_t kept = filled_ - position_;
    if (capacity_ - kept < block_size) {
        capacity_ = std::max(2 * capacity_, kept + block_size);
        std::unique_ptr<char[]> larger(new char[capacity_]);
        if (kept > 0) std::memcpy(larger.get(), buffer_.get() + position_, kept);
        buffer_ = std::move(larger);
    } else if (kept > 0) {
        std::memmove(buffer_.get(), buffer_.get() + position_, kept);
    }
    position_ = 0;
    filled_ = kept;
    const std::size_t got = std::fread(buffer_.get() + kept, 1, block_size, stream_);
    filled_ += got;
    if (got == 0) {
        if (std::ferror(stream_)) {
            failure_ = read_failure();
            // The line the failure cut short is no line of the catalogue.
            filled_ = position_;
        }
        ended_ = true;
        return false;
    }
    // A byte-order mark at the very start is no part of the first line;
    // fread fills the whole block unless the file ends first.
    if (offset_ == 0 && kept == 0 && starts_with_mark(pending())) {
        position_ = 3;
        offset_ = 3;
    }
    return true;
}

bool catalogue_input::next(catalogue_batch_text& batch, std::size_t bytes, std::int64_t cases)
{
    const bool more = cut(batch, bytes, cases);
    batch.done_bytes = offset_ - start_;
    return more;
}

bool catalogue_input::cut(catalogue_batch_text& batch, std::size_t bytes, std::int64_t cases)
{
    batch = catalogue_batch_text{};
    batch.first_line = line_;
    batch.first_number = number_ + 1;
    // Line ends in what is read; after fill() moves it, a new finder.
    line_end_finder ends(pending());
    std::size_t looked_from = position_;
    for (;;) {
        if (end_ >= 0 && offset_ >= end_) break;
        const std::size_t left = filled_ - position_;
        const std::size_t found = looked_from + ends.next(position_ - looked_from);
        bool line_end = found < filled_;
        std::size_t length = found - position_ + 1;
        // A CR that is the last byte read may be the first half of a CR LF.
        const bool cr_at_end = line_end && buffer_[found] == '\r' && found + 1 == filled_;
        if (line_end && !cr_at_end && buffer_[found] == '\r') length += buffer_[found + 1] == '\n';
        if (!line_end || (cr_at_end && !ended_)) {
            if (left > long_line_) {
                if (batch.lines > 0) return true;
                read_long_line(batch);
                return true;
            }
            const bool more = fill();
            ends = line_end_finder(pending());
            looked_from = position_;
            if (more) continue;
            // (fill() may have moved what is left to the front.)
            if (!line_end) {
                if (filled_ == position_) break;
                length = filled_ - position_;  // the last line, without a line end
            }
        }
        const std::string_view line(buffer_.get() + position_, length);
        batch.text.append(line);
        ++batch.lines;
        if (line_end) ++line_;
        if (is_case_line(line)) {
            ++batch.cases;
            ++number_;
        }
        position_ += length;
        offset_ += static_cast<std::int64_t>(length);
        if (batch.text.size() >= bytes || batch.cases >= cases) return true;
    }
    batch.failure = std::move(failure_);
    failure_.clear();
    return batch.lines > 0 || !batch.failure.empty();
}

void catalogue_input::read_long_line(catalogue_batch_text& batch)
{
    batch.lines = 1;
    value_reader reader(pending(), ended_ ? nullptr : stream_,
                        value_span::line, "the catalogue", line_);
    read_ahead_case& entry = batch.read_ahead;
    try {
        const int first = reader.skip_blanks();
        if (first == '\n' || first == '\r' || first == '#') {
            reader.skip_line();
        } else if (first != EOF) {
            batch.has_read_ahead = true;
            batch.cases = 1;
            entry.where = {++number_, reader.line(), {}};
            read_case_line(reader, entry.c);
        }
    } catch (const conversion_error& e) {
        if (std::ferror(stream_)) {
            // The read failed, not the line: no case of it.
            if (batch.has_read_ahead) --number_;
            batch.has_read_ahead = false;
            batch.cases = 0;
            batch.failure = e.what();
        } else if (batch.has_read_ahead) {
            entry.error = e.what();
            entry.error_line = e.line;
        } else {
            batch.failure = e.what();
        }
    }
    line_ = reader.line();
    // What the reader has read past the line stays to be cut.
    const std::string_view unread = reader.unread();
    std::unique_ptr<char[]> rest(new char[std::max(unread.size(), block_size)]);
    std::memcpy(rest.get(), unread.data(), unread.size());
    buffer_ = std::move(rest);
    capacity_ = std::max(unread.size(), block_size);
    filled_ = unread.size();
    position_ = 0;
    if (!ended_ && std::ferror(stream_)) ended_ = true;  // the message has been given
    if (size_ >= 0 && !ended_) {
        offset_ = position_of(stream_) - static_cast<std::int64_t>(filled_);
    }
}
