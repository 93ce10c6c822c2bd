#include "document/document.h"

#include <cstring>

#include "document/number_format.h"

document open_document(file_system& files)
{
    return document(files, "squares.tex");
}

void write_line(document& doc, std::string_view text)
{
    char* out = reserve(doc, text.size() + 2);
    std::memcpy(out, text.data(), text.size());
    commit(doc, put_line_end(out + text.size()));
}

std::uint64_t document_offset(const document& doc)
{
    return doc.bytes_out + doc.used;
}

void close_document(document& doc)
{
    close_output(doc);
}
