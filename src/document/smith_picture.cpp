#include "document/smith_picture.h"

#include <algorithm>
#include <cstdint>

#include "analysis/dissection_net.h"
#include "document/document.h"
#include "document/drawing_style.h"
#include "document/number_format.h"
#include "shown_text.h"

namespace {

class smith_picture : public picture_writer {
public:
    smith_picture(file_system& files, const std::string& path, const picture_settings& settings)
        : doc_(files, path, settings.how), size_mm_(settings.size_mm)
    {
    }

    void frame_head(const square_case& c) override
    {
        // The title, before the sides are let go: the squares keep them.
        title_ = case_title(c);
        case_ = c;
        case_.sides.clear();
        case_.sides.shrink_to_fit();
        squares_.clear();
    }

    void square(const placement& p, bool) override
    {
        // The placement measures up from the foot; the network, down from the top.
        if (p.side > 0) {
            squares_.push_back({static_cast<std::int32_t>(p.column),
                                static_cast<std::int32_t>(case_.height - p.top), p.side});
        }
    }

    void frame_tail() override
    {
        const dissection_net net = net_of(squares_, case_.width, case_.height);
        const std::int64_t width = case_.width;
        const std::int64_t height = std::max<std::int32_t>(case_.height, 0);
        // The battery runs a margin to the right of the rectangle.
        const std::int64_t margin = std::max<std::int64_t>(1, std::max(width, height) / 12);
        const rounded line =
            round_significant(std::max(1.0, static_cast<double>(std::max(width, height))) / 400, 2);
        write_line(doc_, R"(<?xml version="1.0" encoding="UTF-8"?>)");
        std::string head = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox=")" +
                           number(-margin) + " " + number(-margin) + " " +
                           number(width + 3 * margin) + " " + number(height + 2 * margin) + "\"";
        if (size_mm_ > 0) {
            // The drawing's longer side, margins and battery included.
            const double mm =
                size_mm_ / static_cast<double>(std::max(width + 3 * margin, height + 2 * margin));
            head += " width=\"" + trimmed(static_cast<double>(width + 3 * margin) * mm, 3) +
                    "mm\" height=\"" + trimmed(static_cast<double>(height + 2 * margin) * mm, 3) +
                    "mm\"";
        }
        write_line(doc_, head + R"( fill="#000" stroke="#000" stroke-width=")" +
                             trimmed(line.value, line.decimals) +
                             R"(" stroke-linecap="round" font-family="sans-serif">)");
        write_line(doc_, "<title>Smith diagram: " + escaped_markup(title_) + "</title>");
        const std::string bold = trimmed(3 * line.value, line.decimals);
        const double label = static_cast<double>(std::max(width, height)) / 24;
        for (const dissection_net::segment& s : net.nodes) {
            write_line(doc_, R"(<line class="node" x1=")" + number(s.left) + "\" y1=\"" +
                                 number(s.y) + "\" x2=\"" + number(s.right) + "\" y2=\"" +
                                 number(s.y) + "\" stroke-width=\"" + bold + "\"/>");
        }
        // The battery: from the top pole's right end round to the bottom pole's.
        const std::string right = number(width + 2 * margin);
        write_line(doc_, R"(<path class="battery" d="M)" + number(width) + " 0H" + right + "V" +
                             number(height) + "H" + number(width) +
                             R"(" fill="none" stroke="#c00" stroke-width=")" + bold +
                             R"(" stroke-dasharray=")" + bold + " " + bold + "\"/>");
        for (const square_box& s : squares_) {
            char side[short_text];
            *put_integer(side, s.side) = '\0';
            char centre[short_text];
            *put_centre(centre, 2 * std::int64_t{s.x} + s.side) = '\0';
            char middle[short_text];
            *put_centre(middle, 2 * std::int64_t{s.y} + s.side) = '\0';
            write_line(doc_, std::string(R"(<line class="edge" x1=")") + centre + "\" y1=\"" +
                                 number(s.y) + "\" x2=\"" + centre + "\" y2=\"" +
                                 number(std::int64_t{s.y} + s.side) + "\"/>");
            // Beside its edge, one size for all but the squares too small for it.
            const double size = std::min(0.6 * s.side, label);
            write_line(doc_, std::string(R"(<text x=")") +
                                 trimmed(0.5 * (2 * std::int64_t{s.x} + s.side) + 2 * line.value,
                                         line.decimals) +
                                 "\" y=\"" + middle + "\" font-size=\"" + trimmed(size, 2) +
                                 R"(" dy=".35em" stroke="none">)" + side + "</text>");
        }
        write_line(doc_, "</svg>");
        close_document(doc_);
    }

private:
    static std::string number(std::int64_t value)
    {
        char text[short_text];
        return std::string(text, put_integer(text, value));
    }
    static std::string trimmed(double value, int decimals)
    {
        char text[longest_fixed];
        return std::string(text, put_trimmed(text, value, decimals));
    }

    document doc_;
    double size_mm_;
    square_case case_;
    std::string title_;
    std::vector<square_box> squares_;
};

}  // namespace

std::unique_ptr<picture_writer> open_smith_picture(file_system& files, const std::string& path,
                                                   const picture_settings& settings)
{
    return std::make_unique<smith_picture>(files, path, settings);
}
