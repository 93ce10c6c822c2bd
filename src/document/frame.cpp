#include "document/frame.h"

#include "document/number_format.h"
#include "document/skal.h"

void write_frame_head(document& doc, std::int32_t width, std::int32_t height)
{
    write_line(doc, "\\documentclass[a4paper]{article}");
    write_line(doc, "  \\usepackage[left=2cm,right=2cm,top=2cm,bottom=2cm]{geometry}");
    write_line(doc, "  \\usepackage{pstricks-add}");
    write_line(doc, "\\begin{document}");
    write_line(doc, "  \\thispagestyle{empty}");

    char* out = reserve(doc, 2 * longest_line);
    out = put_text(out, "  \\psset{unit=");
    out = put_fixed(out, picture_unit(width));
    out = put_line_end(put_text(out, "mm}"));
    out = put_text(out, "  \\begin{pspicture}(0,0)(");
    out = put_integer(out, width);
    out = put_text(out, ",");
    out = put_integer(out, height);
    out = put_line_end(put_text(out, ")"));
    commit(doc, put_line_end(out));
}

void write_frame_tail(document& doc)
{
    write_line(doc, "  \\end{pspicture}");
    write_line(doc, "\\end{document}");
    close_document(doc);
}
