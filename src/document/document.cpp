#include "document/document.h"

#include <cstring>

#include "document/number_format.h"

document open_document(file_system& files)
{
    return document(files, "squares.tex");
}

std::uint64_t document_offset(const document& doc)
{
    return doc.bytes_out + doc.used;
}

void close_document(document& doc)
{
    close_output(doc);
}
