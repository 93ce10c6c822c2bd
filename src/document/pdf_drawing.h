// A case drawn as PDF page content, shared by the one-page PDF and the
// pages of a book: the frame, every square's outline and label, in the
// case's own units under one transformation, so integers stay integers
// whatever the size of the case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/drawing_style.h"
#include "document/number_format.h"
#include "document/picture_writer.h"

// Where the content goes: a file being written, or memory.
class byte_sink {
public:
    virtual ~byte_sink() = default;
    // Room for `size` more bytes; whoever fills it hands back the end.
    virtual char* reserve(std::size_t size) = 0;
    virtual void commit(char* end) = 0;
};

class document_sink : public byte_sink {
public:
    explicit document_sink(document& doc) : doc_(doc) {}
    char* reserve(std::size_t size) override { return ::reserve(doc_, size); }
    void commit(char* end) override { ::commit(doc_, end); }

private:
    document& doc_;
};

class string_sink : public byte_sink {
public:
    char* reserve(std::size_t size) override;
    void commit(char* end) override;
    // What was written; the sink is empty afterwards.
    std::string take();

private:
    std::string text_;
    std::size_t used_ = 0;
};

// 2 mm round the drawing, in points (1/72 inch).
constexpr double pdf_margin = 72 / 25.4 * 2;

// A page's width or height as its box gives it, to a thousandth of a point:
// the drawing is placed from the very value the page's box has.
double page_length(double points);

// The page's box, "[0 0 width height]", of lengths page_length gave.
std::string media_box(double width, double height);

// The drawing's size and scale.
struct pdf_layout {
    std::int64_t depth = 0;  // how far the drawing reaches below its top edge, in units
    rounded scale;           // points a unit
    double width = 0;        // of the drawing in points, the frame's and the squares'
    double height = 0;
    std::string caveat;  // the frame is not the size asked for, or empty
};

// The frame and the squares (the extent placed once first), the frame's
// longer side as the settings ask.
pdf_layout lay_out_pdf(const square_case& c, const picture_settings& settings);

// The resources the content names: Helvetica as /F1, a translucent fill as /A.
constexpr const char* pdf_font_object =
    "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>";
constexpr const char* pdf_state_object = "<< /Type /ExtGState /ca 0.25 >>";
std::string pdf_resources(std::size_t font, std::size_t state);

// Writes the content of the drawing with its top-left corner at (left,
// top) in the page's points, y measured up. Between frame_head and
// frame_tail it changes nothing of the graphics state outside.
class pdf_drawer : public picture_writer {
public:
    pdf_drawer(byte_sink& sink, const pdf_layout& layout, double left, double top);
    void subrectangles(const std::vector<sub_rectangle>& list) override { outlines_ = list; }
    void frame_head(const square_case& c) override;
    void square(const placement& p, bool named) override;
    void frame_tail() override;

private:
    std::vector<sub_rectangle> outlines_;
    byte_sink& sink_;
    pdf_layout layout_;
    double left_;
    double top_;
    std::int32_t height_ = 0;
    label_sizes label_sizes_;
};
