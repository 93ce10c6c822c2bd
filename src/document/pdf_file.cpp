#include "document/pdf_file.h"

#include <string>

#include "squares.h"

namespace {

// A cross-reference entry holds ten digits.
constexpr std::uint64_t largest_offset = 9999999999u;

}  // namespace

pdf_file::pdf_file(document& d) : doc(d)
{
    // The second line's bytes above 127 tell transfer programs the file is binary.
    write_text(doc, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
}

void begin_object(pdf_file& pdf, std::size_t number)
{
    const std::uint64_t offset = document_offset(pdf.doc);
    if (offset > largest_offset) {
        throw conversion_error("cannot write " + shown_name(pdf.doc) +
                               ": a PDF file ends at 10 GB, where its table of contents ends");
    }
    if (pdf.offsets.size() <= number) pdf.offsets.resize(number + 1, 0);
    pdf.offsets[number] = offset;
    char* out = reserve(pdf.doc, 32);
    out = put_integer(out, static_cast<std::int64_t>(number));
    commit(pdf.doc, put_text(out, " 0 obj\n"));
}

void write_object(pdf_file& pdf, std::size_t number, std::string_view body)
{
    begin_object(pdf, number);
    write_text(pdf.doc, body);
    write_text(pdf.doc, "\nendobj\n");
}

void finish_pdf(pdf_file& pdf, std::size_t count, std::size_t root, std::size_t info)
{
    const std::uint64_t table = document_offset(pdf.doc);
    write_text(pdf.doc, "xref\n0 " + std::to_string(count + 1) + "\n0000000000 65535 f \n");
    for (std::size_t number = 1; number <= count; ++number) {
        // Ten digits, zero-padded: every entry is 20 bytes.
        char digits[24];
        const char* end = put_integer(digits, static_cast<std::int64_t>(pdf.offsets.at(number)));
        char* out = reserve(pdf.doc, 32);
        for (auto pad = end - digits; pad < 10; ++pad) *out++ = '0';
        out = put_text(out, {digits, static_cast<std::size_t>(end - digits)});
        commit(pdf.doc, put_text(out, " 00000 n \n"));
    }
    write_text(pdf.doc, "trailer\n<< /Size " + std::to_string(count + 1) + " /Root " +
                            reference(root) + " /Info " + reference(info) + " >>\nstartxref\n" +
                            std::to_string(table) + "\n%%EOF\n");
    close_document(pdf.doc);
}

std::string reference(std::size_t number)
{
    return std::to_string(number) + " 0 R";
}
