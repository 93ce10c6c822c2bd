// An output file: squares.tex, another drawing or a gallery page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "files/background_writer.h"
#include "files/file_system.h"
#include "document/number_format.h"

// The text is gathered in a buffer and written to a new file without a name
// (where the system makes one, for a name no file has yet), or else to a
// temporary file beside the file it replaces (beside a symbolic link's
// target, unless told to replace the link itself: links::replace), which
// takes the name only once the document is complete: a failed run leaves
// the previous file as it was and no temporary file behind. A device or
// FIFO is written into as it is; "-" and the other names of descriptors
// (descriptor_named) write to the descriptor.
struct document {
    // How the bytes reach the file.
    enum class way { temporary, unnamed, in_place, descriptor };

    document(file_system& files, const std::string& path, links how = links::follow);
    ~document();
    document(const document&) = delete;
    document& operator=(const document&) = delete;

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
    // Started once the first block is full: small documents need no thread.
    std::unique_ptr<background_writer> writer;

    // Label scales already formatted, by side: lists repeat a few sides
    // many times over.
    struct scale_entry {
        std::int32_t side = 0;
        std::int32_t width = 0;
        std::uint8_t length = 0;  // 0: empty
        char text[short_text] = {};
    };
    scale_entry scales[64];
};

// Room for any one line of the document, numbers included.
constexpr std::size_t longest_line = 2 * longest_fixed;

// Creates the document "squares.tex" in the working directory.
document open_document(file_system& files);

// How messages name the document's file.
std::string shown_name(const document& doc);

// Room for `size` more bytes in the buffer, writing out what it holds if
// needed. Whoever fills it hands back the end with `commit`.
char* reserve(document& doc, std::size_t size);
void commit(document& doc, char* end);

// One line of fixed text.
void write_line(document& doc, std::string_view text);

// Text of any length, line ends included.
void write_text(document& doc, std::string_view text);

// The bytes written so far, where the next one goes in the file.
std::uint64_t document_offset(const document& doc);

// Writes out what is left, closes the file and gives it its name.
void close_document(document& doc);
