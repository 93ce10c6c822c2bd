#include "document/pdf_picture.h"

#include <optional>

#include "document/document.h"
#include "document/pdf_drawing.h"
#include "document/pdf_file.h"
#include "document/pdf_text.h"

namespace {

// The objects, in the order they are written: the content is streamed, so
// its length is an object of its own after it.
enum object : std::size_t {
    catalog = 1,
    pages,
    page,
    font,
    state,
    contents,
    length,
    info,
    object_count = info
};

class pdf_picture : public picture_writer {
public:
    pdf_picture(file_system& files, const std::string& path, const picture_settings& settings)
        : doc_(files, path, settings.how), pdf_(doc_), sink_(doc_), settings_(settings)
    {
    }

    void frame_head(const square_case& c) override
    {
        const pdf_layout layout = lay_out_pdf(c, settings_);
        if (!layout.caveat.empty()) caveats_.push_back(layout.caveat);
        const double width = page_length(layout.width + 2 * pdf_margin);
        const double height = page_length(layout.height + 2 * pdf_margin);

        write_object(pdf_, catalog, "<< /Type /Catalog /Pages 2 0 R >>");
        write_object(pdf_, pages, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
        write_object(pdf_, page,
                     "<< /Type /Page /Parent 2 0 R /MediaBox " + media_box(width, height) +
                         " /Resources " + pdf_resources(font, state) + " /Contents " +
                         reference(contents) + " >>");
        write_object(pdf_, font, pdf_font_object);
        write_object(pdf_, state, pdf_state_object);
        begin_object(pdf_, contents);
        write_text(doc_, "<< /Length " + reference(length) + " >>\nstream\n");
        content_start_ = document_offset(doc_);
        drawer_.emplace(sink_, layout, pdf_margin, height - pdf_margin);
        drawer_->subrectangles(outlines_);
        drawer_->frame_head(c);
        title_ = case_title(c, outlines_.size());
    }

    void subrectangles(const std::vector<sub_rectangle>& list) override { outlines_ = list; }

    void square(const placement& p, bool named) override { drawer_->square(p, named); }

    std::vector<std::string> caveats() const override { return caveats_; }

    void frame_tail() override
    {
        drawer_->frame_tail();
        const std::uint64_t content_length = document_offset(doc_) - content_start_;
        write_text(doc_, "\nendstream\nendobj\n");
        write_object(pdf_, length, std::to_string(content_length));
        write_object(pdf_, info, "<< /Title " + pdf_text_string(title_) + " >>");
        finish_pdf(pdf_, object_count, catalog, info);
    }

private:
    document doc_;
    pdf_file pdf_;
    document_sink sink_;
    picture_settings settings_;
    std::optional<pdf_drawer> drawer_;
    std::uint64_t content_start_ = 0;
    std::string title_;
    std::vector<sub_rectangle> outlines_;
    std::vector<std::string> caveats_;
};

}  // namespace

std::unique_ptr<picture_writer> open_pdf_picture(file_system& files, const std::string& path,
                                                 const picture_settings& settings)
{
    return std::make_unique<pdf_picture>(files, path, settings);
}
