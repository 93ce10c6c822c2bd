#include "document/square_block.h"

#include "document/number_format.h"
#include "document/skal.h"

namespace {

char* put_segment(char* out, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2)
{
    out = put_text(out, "    \\psline[linewidth=0.1pt](");
    out = put_integer(out, x1);
    out = put_text(out, ",");
    out = put_integer(out, y1);
    out = put_text(out, ")(");
    out = put_integer(out, x2);
    out = put_text(out, ",");
    out = put_integer(out, y2);
    return put_line_end(put_text(out, ")"));
}

// Formats the scale only when the side or width differs from the last label's.
void update_scale(document& doc, std::int32_t side, std::int32_t width)
{
    if (doc.scale_length != 0 && doc.scale_side == side && doc.scale_width == width) return;
    doc.scale_side = side;
    doc.scale_width = width;
    doc.scale_length = static_cast<std::size_t>(put_fixed(doc.scale_text, skal(side, width)) -
                                                doc.scale_text);
}

}  // namespace

void write_square_block(document& doc, const placement& p, std::int32_t width)
{
    write_label(doc, p, width);
    write_outline(doc, p);
}

void write_label(document& doc, const placement& p, std::int32_t width)
{
    update_scale(doc, p.side, width);
    char* out = reserve(doc, longest_line);
    out = put_text(out, "    \\rput(");
    out = put_half(out, 2 * p.column + p.side);
    out = put_text(out, ",");
    out = put_half(out, 2 * p.top - p.side);
    out = put_text(out, "){\\psscalebox{");
    out = put_text(out, {doc.scale_text, doc.scale_length});
    out = put_text(out, "}{");
    out = put_integer(out, p.side);
    commit(doc, put_line_end(put_text(out, "}}")));
}

void write_outline(document& doc, const placement& p)
{
    const std::int64_t left = p.column;
    const std::int64_t right = p.column + p.side;
    const std::int64_t top = p.top;
    const std::int64_t bottom = p.top - p.side;
    char* out = reserve(doc, 5 * longest_line);
    out = put_segment(out, left, top, left, bottom);
    out = put_segment(out, left, bottom, right, bottom);
    out = put_segment(out, right, bottom, right, top);
    out = put_segment(out, right, top, left, top);
    commit(doc, put_line_end(out));
}
