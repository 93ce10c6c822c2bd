#include "document/smith_picture.h"

#include <algorithm>

#include "document/document.h"
#include "document/pdf_drawing.h"
#include "document/pdf_file.h"
#include "document/pdf_text.h"
#include "document/smith_layout.h"

namespace {

class smith_picture : public smith_collector {
public:
    smith_picture(file_system& files, const std::string& path, const picture_settings& settings)
        : doc_(files, path, settings.how), size_mm_(settings.size_mm)
    {
    }

protected:
    void draw(const smith_layout& layout, const std::string& title) override
    {
        write_smith_svg(layout, title, size_mm_,
                        [&](const std::string& line) { write_line(doc_, line); });
        close_document(doc_);
    }

private:
    document doc_;
    double size_mm_;
};

// The PDF objects in the order they are written.
enum object : std::size_t {
    catalog = 1,
    pages,
    page,
    font,
    state,
    contents,
    info,
    object_count = info
};

class smith_pdf_picture : public smith_collector {
public:
    smith_pdf_picture(file_system& files, const std::string& path, const picture_settings& settings)
        : doc_(files, path, settings.how), pdf_(doc_), size_mm_(settings.size_mm)
    {
    }

protected:
    void draw(const smith_layout& layout, const std::string& title) override
    {
        const rounded scale = smith_pdf_scale(layout, size_mm_);
        const double width =
            page_length(static_cast<double>(layout.drawn_width()) * scale.value + 2 * pdf_margin);
        const double height =
            page_length(static_cast<double>(layout.drawn_height()) * scale.value + 2 * pdf_margin);
        const std::string content =
            smith_pdf_content(layout, scale, pdf_margin, height - pdf_margin);
        write_object(pdf_, catalog, "<< /Type /Catalog /Pages 2 0 R >>");
        write_object(pdf_, pages, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
        write_object(pdf_, page,
                     "<< /Type /Page /Parent 2 0 R /MediaBox " + media_box(width, height) +
                         " /Resources " + pdf_resources(font, state) + " /Contents " +
                         reference(contents) + " >>");
        write_object(pdf_, font, pdf_font_object);
        write_object(pdf_, state, pdf_state_object);
        write_object(pdf_, contents,
                     "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                         "\nendstream");
        write_object(pdf_, info, "<< /Title " + pdf_text_string("Smith diagram: " + title) + " >>");
        finish_pdf(pdf_, object_count, catalog, info);
    }

private:
    document doc_;
    pdf_file pdf_;
    double size_mm_;
};

}  // namespace

rounded smith_pdf_scale(const smith_layout& layout, double size_mm)
{
    const double longer =
        static_cast<double>(std::max(layout.drawn_width(), layout.drawn_height()));
    return round_significant((size_mm > 0 ? size_mm : default_size_mm) * 72 / 25.4 / longer, 10);
}

std::unique_ptr<picture_writer> open_smith_picture(file_system& files, const std::string& path,
                                                   const picture_settings& settings)
{
    return std::make_unique<smith_picture>(files, path, settings);
}

std::unique_ptr<picture_writer> open_smith_pdf_picture(file_system& files, const std::string& path,
                                                       const picture_settings& settings)
{
    return std::make_unique<smith_pdf_picture>(files, path, settings);
}
