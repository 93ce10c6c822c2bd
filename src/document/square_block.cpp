#include "document/square_block.h"

#include "document/number_format.h"
#include "document/skal.h"

namespace {

// A coordinate formatted once, for the several lines that repeat it.
struct formatted {
    explicit formatted(std::int64_t value) : end(put_integer(text, value)) {}
    std::size_t length() const { return static_cast<std::size_t>(end - text); }
    char text[short_text];
    char* end;
};

char* put_number(char* out, const formatted& number)
{
    return put_short(out, number.text, number.length());
}

char* put_segment(char* out, const formatted& x1, const formatted& y1, const formatted& x2,
                  const formatted& y2)
{
    out = put_text(out, "    \\psline[linewidth=0.1pt](");
    out = put_number(out, x1);
    out = put_text(out, ",");
    out = put_number(out, y1);
    out = put_text(out, ")(");
    out = put_number(out, x2);
    out = put_text(out, ",");
    out = put_number(out, y2);
    return put_line_end(put_text(out, ")"));
}

char* put_scale(char* out, document& doc, std::int32_t side, std::int32_t width)
{
    document::scale_entry& entry = doc.scales[static_cast<std::uint32_t>(side) % 64];
    if (entry.length == 0 || entry.side != side || entry.width != width) {
        char text[longest_fixed];
        const auto length = static_cast<std::size_t>(put_fixed(text, skal(side, width)) - text);
        if (length > sizeof entry.text) return put_text(out, {text, length});
        entry.side = side;
        entry.width = width;
        entry.length = static_cast<std::uint8_t>(length);
        put_text(entry.text, {text, length});
    }
    return put_short(out, entry.text, entry.length);
}

}  // namespace

void write_square_block(document& doc, const placement& p, std::int32_t width)
{
    write_label(doc, p, width);
    write_outline(doc, p);
}

void write_label(document& doc, const placement& p, std::int32_t width)
{
    char* out = reserve(doc, longest_line);
    out = put_text(out, "    \\rput(");
    out = put_half(out, 2 * p.column + p.side);
    out = put_text(out, ",");
    out = put_half(out, 2 * p.top - p.side);
    out = put_text(out, "){\\psscalebox{");
    out = put_scale(out, doc, p.side, width);
    out = put_text(out, "}{");
    out = put_integer(out, p.side);
    commit(doc, put_line_end(put_text(out, "}}")));
}

void write_outline(document& doc, const placement& p)
{
    const formatted left(p.column);
    const formatted right(p.column + p.side);
    const formatted top(p.top);
    const formatted bottom(p.top - p.side);
    char* out = reserve(doc, 5 * longest_line);
    out = put_segment(out, left, top, left, bottom);
    out = put_segment(out, left, bottom, right, bottom);
    out = put_segment(out, right, bottom, right, top);
    out = put_segment(out, right, top, left, top);
    commit(doc, put_line_end(out));
}
