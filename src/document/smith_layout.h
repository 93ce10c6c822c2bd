// The Smith diagram's geometry, shared by its SVG and PDF drawings: the
// network's nodes as horizontal segments, each square's edge at its
// centre, the battery a margin to the right, the line width and label size.
// Units are the case's, y down from the top edge.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/check_workspace.h"
#include "analysis/dissection_net.h"
#include "document/number_format.h"
#include "document/picture_writer.h"

struct smith_layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t margin = 0;  // round the drawing; the battery runs two to the right
    rounded line;             // the edges' width; nodes and battery three times it
    double label = 0;         // the labels' size, but for squares too small for it
    dissection_net net;
    std::vector<square_box> squares;  // y down from the top edge

    // The whole drawing, margins and battery included.
    std::int64_t drawn_width() const { return width + 3 * margin; }
    std::int64_t drawn_height() const { return height + 2 * margin; }
    // A square's label size.
    double label_size(std::int32_t side) const { return std::min(0.6 * side, label); }
};

smith_layout lay_out_smith(std::vector<square_box> squares, std::int32_t width,
                           std::int32_t height);

// The margin of a diagram of this rectangle (a negative height as 0).
std::int64_t smith_margin(std::int32_t width, std::int32_t height);

// Collects a case's squares as they are placed, and draws the diagram once
// the last is in.
class smith_collector : public picture_writer {
public:
    void frame_head(const square_case& c) override;
    void square(const placement& p, bool named) override;
    void frame_tail() override;

protected:
    virtual void draw(const smith_layout& layout, const std::string& title) = 0;

private:
    square_case case_;
    std::string title_;
    std::vector<square_box> squares_;
};

// The SVG file, line by line without line ends; `size_mm` 0 leaves the
// size to the viewer.
void write_smith_svg(const smith_layout& layout, const std::string& title, double size_mm,
                     const std::function<void(const std::string&)>& line);

// The PDF content of the diagram, `scale` points a unit, its top-left
// corner (margins included) at (left, top) in the page's points, y up;
// the font /F1. Nodes, battery, edges and labels are marked content
// /Node, /Battery, /Edge and /Label, in the case's units.
std::string smith_pdf_content(const smith_layout& layout, const rounded& scale, double left,
                              double top);

// The PDF content alone, as a book page draws it beside the dissection.
class smith_content : public smith_collector {
public:
    smith_content(const rounded& scale, double left, double top)
        : scale_(scale), left_(left), top_(top)
    {
    }
    std::string content;

protected:
    void draw(const smith_layout& layout, const std::string&) override
    {
        content = smith_pdf_content(layout, scale_, left_, top_);
    }

private:
    rounded scale_;
    double left_;
    double top_;
};
