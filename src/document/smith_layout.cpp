#include "document/smith_layout.h"

#include <algorithm>

#include "document/drawing_style.h"
#include "shown_text.h"

namespace {

std::string number(std::int64_t value)
{
    char text[short_text];
    return std::string(text, put_integer(text, value));
}

std::string trimmed(double value, int decimals)
{
    char text[longest_fixed];
    return std::string(text, put_trimmed(text, value, decimals));
}

std::string centre(std::int64_t twice)
{
    char text[short_text];
    return std::string(text, put_centre(text, twice));
}

}  // namespace

smith_layout lay_out_smith(std::vector<square_box> squares, std::int32_t width, std::int32_t height)
{
    smith_layout l;
    l.net = net_of(squares, width, height);
    l.squares = std::move(squares);
    l.width = width;
    l.height = std::max<std::int32_t>(height, 0);
    const std::int64_t longer = std::max(l.width, l.height);
    l.margin = smith_margin(width, height);
    l.line = round_significant(std::max(1.0, static_cast<double>(longer)) / 400, 2);
    l.label = static_cast<double>(longer) / 24;
    return l;
}

std::int64_t smith_margin(std::int32_t width, std::int32_t height)
{
    return std::max<std::int64_t>(1, std::max<std::int64_t>({width, height, 0}) / 12);
}

void smith_collector::frame_head(const square_case& c)
{
    // The title, before the sides are let go: the squares keep them.
    title_ = case_title(c);
    case_ = c;
    case_.sides.clear();
    case_.sides.shrink_to_fit();
    squares_.clear();
}

void smith_collector::square(const placement& p, bool)
{
    // The placement measures up from the foot; the network, down from the top.
    if (p.side > 0) {
        squares_.push_back({static_cast<std::int32_t>(p.column),
                            static_cast<std::int32_t>(case_.height - p.top), p.side});
    }
}

void smith_collector::frame_tail()
{
    draw(lay_out_smith(std::move(squares_), case_.width, case_.height), title_);
    squares_.clear();
}

void write_smith_svg(const smith_layout& l, const std::string& title, double size_mm,
                     const std::function<void(const std::string&)>& line)
{
    const std::int64_t margin = l.margin;
    line(R"(<?xml version="1.0" encoding="UTF-8"?>)");
    std::string head = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox=")" + number(-margin) +
                       " " + number(-margin) + " " + number(l.drawn_width()) + " " +
                       number(l.drawn_height()) + "\"";
    if (size_mm > 0) {
        // The drawing's longer side, margins and battery included.
        const double mm =
            size_mm / static_cast<double>(std::max(l.drawn_width(), l.drawn_height()));
        head += " width=\"" + trimmed(static_cast<double>(l.drawn_width()) * mm, 3) +
                "mm\" height=\"" + trimmed(static_cast<double>(l.drawn_height()) * mm, 3) + "mm\"";
    }
    line(head + R"( fill="#000" stroke="#000" stroke-width=")" +
         trimmed(l.line.value, l.line.decimals) +
         R"(" stroke-linecap="round" font-family="sans-serif">)");
    line("<title>Smith diagram: " + escaped_markup(title) + "</title>");
    const std::string bold = trimmed(3 * l.line.value, l.line.decimals);
    for (const dissection_net::segment& s : l.net.nodes) {
        line(R"(<line class="node" x1=")" + number(s.left) + "\" y1=\"" + number(s.y) + "\" x2=\"" +
             number(s.right) + "\" y2=\"" + number(s.y) + "\" stroke-width=\"" + bold + "\"/>");
    }
    // The battery: from the top pole's right end round to the bottom pole's.
    const std::string right = number(l.width + 2 * margin);
    line(R"(<path class="battery" d="M)" + number(l.width) + " 0H" + right + "V" +
         number(l.height) + "H" + number(l.width) +
         R"(" fill="none" stroke="#c00" stroke-width=")" + bold + R"(" stroke-dasharray=")" + bold +
         " " + bold + "\"/>");
    for (const square_box& s : l.squares) {
        const std::string x = centre(2 * std::int64_t{s.x} + s.side);
        line(R"(<line class="edge" x1=")" + x + "\" y1=\"" + number(s.y) + "\" x2=\"" + x +
             "\" y2=\"" + number(std::int64_t{s.y} + s.side) + "\"/>");
        // Beside its edge, one size for all but the squares too small for it.
        line(R"(<text x=")" +
             trimmed(0.5 * (2 * std::int64_t{s.x} + s.side) + 2 * l.line.value, l.line.decimals) +
             "\" y=\"" + centre(2 * std::int64_t{s.y} + s.side) + "\" font-size=\"" +
             trimmed(l.label_size(s.side), 2) + R"(" dy=".35em" stroke="none">)" + number(s.side) +
             "</text>");
    }
    line("</svg>");
}

std::string smith_pdf_content(const smith_layout& l, const rounded& scale, double left, double top)
{
    const std::string s = trimmed(scale.value, scale.decimals);
    const std::string bold = trimmed(3 * l.line.value, l.line.decimals);
    // One transformation to the case's units, y down, the margin's corner at (left, top).
    std::string out = "q\n" + s + " 0 0 -" + s + " " +
                      trimmed(left + static_cast<double>(l.margin) * scale.value, 6) + " " +
                      trimmed(top - static_cast<double>(l.margin) * scale.value, 6) +
                      " cm\n1 J 0 G\n/Node BMC\n" + bold + " w\n";
    for (const dissection_net::segment& n : l.net.nodes) {
        out += number(n.left) + " " + number(n.y) + " m " + number(n.right) + " " + number(n.y) +
               " l S\n";
    }
    const std::string right = number(l.width + 2 * l.margin);
    out += "EMC\n/Battery BMC\nq 0.8 0 0 RG [" + bold + " " + bold + "] 0 d " + number(l.width) +
           " 0 m " + right + " 0 l " + right + " " + number(l.height) + " l " + number(l.width) +
           " " + number(l.height) + " l S Q\nEMC\n/Edge BMC\n" +
           trimmed(l.line.value, l.line.decimals) + " w\n";
    for (const square_box& q : l.squares) {
        const std::string x = centre(2 * std::int64_t{q.x} + q.side);
        out +=
            x + " " + number(q.y) + " m " + x + " " + number(std::int64_t{q.y} + q.side) + " l S\n";
    }
    out += "EMC\n/Label BMC\n";
    for (const square_box& q : l.squares) {
        // Upright in a space whose y runs down; centred on its height as dy=".35em" is.
        const double size = l.label_size(q.side);
        const std::string z = trimmed(size, 2);
        out += "BT /F1 1 Tf " + z + " 0 0 -" + z + " " +
               trimmed(0.5 * (2 * std::int64_t{q.x} + q.side) + 2 * l.line.value, l.line.decimals) +
               " " + trimmed(0.5 * (2 * std::int64_t{q.y} + q.side) + 0.35 * size, 3) + " Tm (" +
               number(q.side) + ")Tj ET\n";
    }
    return out + "EMC\nQ\n";
}
