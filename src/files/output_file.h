// Atomic replacement: a file that takes its name only once complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "files/background_writer.h"
#include "files/file_system.h"

// The buffer's size: text is handed out in blocks of it.
constexpr std::size_t output_block = 1 << 18;

// A file written whole or not at all, through a buffer: squares.tex, a
// drawing, a gallery page or a directory's record. The text is gathered in a buffer and written to
// a new file without a name (where the system makes one, for a name no file has yet), or else to a
// temporary file beside the file it replaces (beside a symbolic link's
// target, unless told to replace the link itself: links::replace), which
// takes the name only once the file is complete: a failed run leaves
// the previous file as it was and no temporary file behind. A device or
// FIFO is written into as it is; "-" and the other names of descriptors
// (descriptor_named) write to the descriptor.
struct output_file {
    // How the bytes reach the file.
    enum class way { temporary, unnamed, in_place, descriptor };

    output_file(file_system& files, const std::string& path, links how = links::follow);
    ~output_file();
    output_file(const output_file&) = delete;
    output_file& operator=(const output_file&) = delete;

    file_system& files;
    std::string path;         // as the user gave it, for messages
    std::string target_path;  // the file replaced
    std::string temp_path;
    way written = way::temporary;
    links how;  // of a link at the name
    int handle = -1;
    bool complete = false;
    std::unique_ptr<char[]> buffer;
    std::size_t used = 0;
    std::uint64_t bytes_out = 0;  // bytes handed out of the buffer so far
    // Started once the first block is full: small files need no thread.
    std::unique_ptr<background_writer> writer;
};

// How messages name the file.
std::string shown_name(const output_file& out);

// Room for `size` more bytes in the buffer, writing out what it holds if
// needed. Whoever fills it hands back the end with `commit`.
char* reserve(output_file& out, std::size_t size);
void commit(output_file& out, char* end);

// One line of fixed text.
void write_line(output_file& out, std::string_view text);

// Text of any length, line ends included.
void write_text(output_file& out, std::string_view text);

// Writes out what is left, closes the file and gives it its name.
void close_output(output_file& out);
