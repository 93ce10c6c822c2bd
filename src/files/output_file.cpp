#include "files/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "files/interrupt_cleanup.h"
#include "files/line_end.h"
#include "files/random_bits.h"
#include "shown_text.h"
#include "squares.h"

namespace {

constexpr int name_attempts = 16;

// ".XXXXXXXX.tmp"
constexpr std::size_t temp_suffix = 13;

#ifdef _WIN32
constexpr const char* separators = "/\\";
#else
constexpr const char* separators = "/";
#endif

// The name of the temporary file beside `path`: its name with a random
// suffix, cut short when the whole would be longer than the directory takes.
std::string temp_name(const std::string& path, std::size_t longest, std::uint32_t tag)
{
    static const char hex[] = "0123456789abcdef";
    const std::size_t slash = path.find_last_of(separators);
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t room = longest > temp_suffix ? longest - temp_suffix : 0;
    std::string name = path.substr(0, std::min(path.size(), base + room)) + ".";
    for (int shift = 28; shift >= 0; shift -= 4) name += hex[(tag >> shift) & 0xf];
    return name + ".tmp";
}

std::string directory_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of(separators);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

[[noreturn]] void fail_to_write(const output_file& out, const std::string& error)
{
    end_run_if_pipe_closed(error);
    throw write_error("cannot write " + shown_name(out) + ": " + error);
}

// Writes what the buffer holds from this thread.
void write_here(output_file& out)
{
    const std::string error = out.files.write(out.handle, out.buffer.get(), out.used);
    if (!error.empty()) fail_to_write(out, error);
    out.bytes_out += out.used;
    out.used = 0;
}

// Hands the full buffer to the writer thread and goes on in another; with
// no thread to be had, writes it here.
void write_out(output_file& out)
{
    if (!out.writer) {
        try {
            out.writer = std::make_unique<background_writer>(out.files, out.handle, output_block);
        } catch (const std::system_error&) {
            write_here(out);
            return;
        }
    }
    const std::string error = out.writer->hand_over(out.buffer, out.used);
    if (!error.empty()) fail_to_write(out, error);
    out.bytes_out += out.used;
    out.used = 0;
}

// Makes a temporary file beside `target` by `make`, which tries one name:
// a name taken (a file of the user's, perhaps) is left as it is and
// another tried. Sets the file's temporary name once it is made.
template <typename Make>
std::string make_temporary_beside(output_file& out, const std::string& target, Make make)
{
    std::uint64_t seed = temporary_seed(&out);
    // The directory's longest name is asked for only once a name has
    // failed: nearly all fit, and asking costs a system call per drawing.
    std::size_t longest = std::string::npos;
    std::string error;
    for (int attempt = 0; attempt < name_attempts; ++attempt) {
        const std::string name =
            temp_name(target, longest, static_cast<std::uint32_t>(mixed(seed)));
        error = make(name);
        if (error.empty()) {
            out.temp_path = name;
            return {};
        }
        if (longest == std::string::npos) longest = out.files.longest_name(directory_of(target));
    }
    return error;
}

// Gives the complete unnamed file its name. A name taken meanwhile (or
// all along, where a link at it was to be replaced) is replaced as a
// temporary file would replace it, with the same checks: the file takes a
// temporary name first, and the file goes on as one written there.
void name_unnamed(output_file& out, int handle)
{
    std::string error = out.files.name_unnamed(handle, out.target_path, false, -1);
    if (error.empty()) return;
    if (error != std::strerror(EEXIST)) {
        throw conversion_error("cannot create " + shown_name(out) + ": " + error);
    }
    file_system::target target;
    error = out.files.find_target(out.path, out.how, target);
    if (error.empty() && target.in_place) error = "not a regular file";
    if (error.empty()) {
        error = make_temporary_beside(out, target.path, [&](const std::string& name) {
            return out.files.name_unnamed(handle, name, true, target.mode);
        });
    }
    if (!error.empty()) throw conversion_error("cannot replace " + shown_name(out) + ": " + error);
    out.target_path = target.path;
    out.written = output_file::way::temporary;
}

}  // namespace

output_file::output_file(file_system& file_ops, const std::string& file_path, links how_links)
    : files(file_ops), path(file_path), how(how_links), buffer(new char[output_block])
{
    const int descriptor = descriptor_named(path);
    if (descriptor >= 0) {
        written = way::descriptor;
        const std::string error = files.open(path, file_system::opening::descriptor, handle);
        if (!error.empty()) fail_to_write(*this, error);
        return;
    }
    // Where a link is to be replaced, whatever holds the name is looked at
    // only if the new file cannot simply take it (name_unnamed).
    target_path = path;
    if (how == links::replace && files.create_unnamed(directory_of(path), handle).empty()) {
        written = way::unnamed;
        return;
    }
    file_system::target target;
    std::string error = files.find_target(path, how, target);
    if (!error.empty())
        throw conversion_error("cannot replace " + shown_name(*this) + ": " + error);
    target_path = target.path;
    if (target.in_place) {
        written = way::in_place;
        error = files.open(target_path, file_system::opening::in_place, handle);
        if (!error.empty()) fail_to_write(*this, error);
        return;
    }
    // A new file is made without a name, which it takes once complete: a
    // run that ends before leaves nothing, whatever ends it, and the name
    // is made once, where a temporary file and a rename change the
    // directory twice (that is what threads drawing into one directory wait for).
    if (target.mode < 0 && files.create_unnamed(directory_of(target_path), handle).empty()) {
        written = way::unnamed;
        return;
    }
    error = make_temporary_beside(*this, target_path, [&](const std::string& name) {
        return files.create_new(name, target.mode, handle);
    });
    if (!error.empty()) throw conversion_error("cannot create " + shown_name(*this) + ": " + error);
}

output_file::~output_file()
{
    writer.reset();
    if (handle >= 0 && written != way::descriptor) files.close(handle);
    if (!complete && !temp_path.empty()) files.remove(temp_path);
}

std::string shown_name(const output_file& out)
{
    return out.path == "-" ? std::string("to standard output") : shown_path(out.path);
}

char* reserve(output_file& out, std::size_t size)
{
    if (output_block - out.used < size) write_out(out);
    return out.buffer.get() + out.used;
}

void commit(output_file& out, char* end)
{
    out.used = static_cast<std::size_t>(end - out.buffer.get());
}

void write_line(output_file& out, std::string_view text)
{
    char* at = reserve(out, text.size() + 2);
    std::memcpy(at, text.data(), text.size());
    std::memcpy(at + text.size(), line_end.data(), line_end.size());
    commit(out, at + text.size() + line_end.size());
}

void write_text(output_file& out, std::string_view text)
{
    while (!text.empty()) {
        const std::size_t part = std::min(text.size(), output_block);
        char* at = reserve(out, part);
        std::memcpy(at, text.data(), part);
        commit(out, at + part);
        text.remove_prefix(part);
    }
}

void close_output(output_file& out)
{
    std::string error = out.writer ? out.writer->finish() : std::string();
    if (!error.empty()) fail_to_write(out, error);
    if (out.used > 0) write_here(out);
    if (out.written == output_file::way::descriptor) {
        out.complete = true;
        return;
    }
    const int handle = out.handle;
    if (out.written == output_file::way::unnamed) name_unnamed(out, handle);
    out.handle = -1;
    error = out.files.close(handle);
    if (!error.empty()) {
        // A file named already goes (the name was new, made by this run):
        // what it holds cannot be trusted.
        if (out.written == output_file::way::unnamed) out.files.remove(out.target_path);
        fail_to_write(out, error);
    }
    if (out.written != output_file::way::temporary) {
        out.complete = true;
        return;
    }
    error = out.files.replace(out.temp_path, out.target_path);
    if (!error.empty()) {
        throw conversion_error("cannot replace " + shown_name(out) + ": " + error);
    }
    out.complete = true;
}
