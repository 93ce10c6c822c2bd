#include "document/document.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "files/interrupt_cleanup.h"
#include "document/number_format.h"
#include "files/random_bits.h"
#include "shown_text.h"
#include "squares.h"

namespace {

constexpr std::size_t buffer_size = 1 << 18;
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

[[noreturn]] void fail_to_write(const document& doc, const std::string& error)
{
    end_run_if_pipe_closed(error);
    throw write_error("cannot write " + shown_name(doc) + ": " + error);
}

// Writes what the buffer holds from this thread.
void write_here(document& doc)
{
    const std::string error = doc.files.write(doc.handle, doc.buffer.get(), doc.used);
    if (!error.empty()) fail_to_write(doc, error);
    doc.bytes_out += doc.used;
    doc.used = 0;
}

// Hands the full buffer to the writer thread and goes on in another; with
// no thread to be had, writes it here.
void write_out(document& doc)
{
    if (!doc.writer) {
        try {
            doc.writer = std::make_unique<background_writer>(doc.files, doc.handle, buffer_size);
        } catch (const std::system_error&) {
            write_here(doc);
            return;
        }
    }
    const std::string error = doc.writer->hand_over(doc.buffer, doc.used);
    if (!error.empty()) fail_to_write(doc, error);
    doc.bytes_out += doc.used;
    doc.used = 0;
}

// Makes a temporary file beside `target` by `make`, which tries one name:
// a name taken (a file of the user's, perhaps) is left as it is and
// another tried. Sets the document's temporary name once it is made.
template <typename Make>
std::string make_temporary_beside(document& doc, const std::string& target, Make make)
{
    std::uint64_t seed = temporary_seed(&doc);
    // The directory's longest name is asked for only once a name has
    // failed: nearly all fit, and asking costs a system call per drawing.
    std::size_t longest = std::string::npos;
    std::string error;
    for (int attempt = 0; attempt < name_attempts; ++attempt) {
        const std::string name =
            temp_name(target, longest, static_cast<std::uint32_t>(mixed(seed)));
        error = make(name);
        if (error.empty()) {
            doc.temp_path = name;
            return {};
        }
        if (longest == std::string::npos) longest = doc.files.longest_name(directory_of(target));
    }
    return error;
}

// Gives the complete unnamed file its name. A name taken meanwhile (or
// all along, where a link at it was to be replaced) is replaced as a
// temporary file would replace it, with the same checks: the file takes a
// temporary name first, and the document goes on as one written there.
void name_unnamed(document& doc, int handle)
{
    std::string error = doc.files.name_unnamed(handle, doc.target_path, false, -1);
    if (error.empty()) return;
    if (error != std::strerror(EEXIST)) {
        throw conversion_error("cannot create " + shown_name(doc) + ": " + error);
    }
    file_system::target target;
    error = doc.files.find_target(doc.path, doc.how, target);
    if (error.empty() && target.in_place) error = "not a regular file";
    if (error.empty()) {
        error = make_temporary_beside(doc, target.path, [&](const std::string& name) {
            return doc.files.name_unnamed(handle, name, true, target.mode);
        });
    }
    if (!error.empty()) throw conversion_error("cannot replace " + shown_name(doc) + ": " + error);
    doc.target_path = target.path;
    doc.written = document::way::temporary;
}

}  // namespace

document::document(file_system& file_ops, const std::string& document_path, links how_links)
    : files(file_ops), path(document_path), how(how_links), buffer(new char[buffer_size])
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

document::~document()
{
    writer.reset();
    if (handle >= 0 && written != way::descriptor) files.close(handle);
    if (!complete && !temp_path.empty()) files.remove(temp_path);
}

document open_document(file_system& files)
{
    return document(files, "squares.tex");
}

std::string shown_name(const document& doc)
{
    return doc.path == "-" ? std::string("to standard output") : shown_path(doc.path);
}

char* reserve(document& doc, std::size_t size)
{
    if (buffer_size - doc.used < size) write_out(doc);
    return doc.buffer.get() + doc.used;
}

void commit(document& doc, char* end)
{
    doc.used = static_cast<std::size_t>(end - doc.buffer.get());
}

void write_line(document& doc, std::string_view text)
{
    char* out = reserve(doc, text.size() + 2);
    std::memcpy(out, text.data(), text.size());
    commit(doc, put_line_end(out + text.size()));
}

void write_text(document& doc, std::string_view text)
{
    while (!text.empty()) {
        const std::size_t part = std::min(text.size(), buffer_size);
        char* out = reserve(doc, part);
        std::memcpy(out, text.data(), part);
        commit(doc, out + part);
        text.remove_prefix(part);
    }
}

std::uint64_t document_offset(const document& doc)
{
    return doc.bytes_out + doc.used;
}

void close_document(document& doc)
{
    std::string error = doc.writer ? doc.writer->finish() : std::string();
    if (!error.empty()) fail_to_write(doc, error);
    if (doc.used > 0) write_here(doc);
    if (doc.written == document::way::descriptor) {
        doc.complete = true;
        return;
    }
    const int handle = doc.handle;
    if (doc.written == document::way::unnamed) name_unnamed(doc, handle);
    doc.handle = -1;
    error = doc.files.close(handle);
    if (!error.empty()) {
        // A file named already goes (the name was new, made by this run):
        // what it holds cannot be trusted.
        if (doc.written == document::way::unnamed) doc.files.remove(doc.target_path);
        fail_to_write(doc, error);
    }
    if (doc.written != document::way::temporary) {
        doc.complete = true;
        return;
    }
    error = doc.files.replace(doc.temp_path, doc.target_path);
    if (!error.empty()) {
        throw conversion_error("cannot replace " + shown_name(doc) + ": " + error);
    }
    doc.complete = true;
}
