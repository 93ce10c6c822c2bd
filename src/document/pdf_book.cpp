#include "document/pdf_book.h"

#include <algorithm>

#include "document/case_report.h"
#include "document/pdf_drawing.h"
#include "document/pdf_text.h"
#include "document/smith_layout.h"

namespace {

// The objects before the pages'.
enum object : std::size_t {
    catalog = 1,
    root,  // the page tree's root
    outlines,
    font,
    state,
    info,
    resources,
    first_group
};

// The caption: its size and the room above it, in points.
constexpr double caption_size = 9;
constexpr double caption_gap = 6;

}  // namespace

book_page make_book_page(const square_case& c, const std::string& caption_line,
                         const std::string& outline_title, const picture_settings& settings,
                         const std::vector<sub_rectangle>& outlines, bool with_smith)
{
    const pdf_layout layout = lay_out_pdf(c, settings);
    const std::string caption = to_win_ansi(caption_line);
    const double caption_width = helvetica_width(caption) * caption_size;
    // The diagram's margin to the left and to the right of it, with the battery.
    const double smith_margin_points =
        static_cast<double>(smith_margin(c.width, c.height)) * layout.scale.value;
    const double smith_width =
        with_smith ? pdf_margin + static_cast<double>(std::max(c.width, 0)) * layout.scale.value +
                         3 * smith_margin_points
                   : 0;
    const double drawn_width = layout.width + smith_width;
    book_page page;
    page.width = page_length(std::max(drawn_width, caption_width) + 2 * pdf_margin);
    page.height = page_length(layout.height + caption_gap + caption_size + 2 * pdf_margin);
    page.outline_title = outline_title;

    string_sink sink;
    const double left = (page.width - drawn_width) / 2;
    const double top = page.height - pdf_margin;
    pdf_drawer drawer(sink, layout, left, top);
    tiling_report report(c.height);
    try {
        draw_case(c, drawer, report, true, outlines);
        if (with_smith) {
            smith_content smith(layout.scale, left + layout.width + pdf_margin,
                                top + smith_margin_points);
            tiling_report again(c.height);
            draw_case(c, smith, again);
            const std::string& text = smith.content;
            char* out = sink.reserve(text.size());
            sink.commit(put_text(out, text));
        }
    } catch (const placement_error& e) {
        page.failure = e.what();
    }
    page.warnings = std::move(report.warnings);
    if (!layout.caveat.empty()) page.warnings.push_back(layout.caveat);
    // The baseline leaves room under it for the descenders (0.21 em).
    char* out = sink.reserve(2 * longest_line);
    out = put_text(out, "BT /F1 ");
    out = put_trimmed(out, caption_size, 3);
    out = put_text(out, " Tf ");
    out = put_trimmed(out, (page.width - caption_width) / 2, 3);
    out = put_text(out, " ");
    out = put_trimmed(out, pdf_margin + 0.25 * caption_size, 3);
    sink.commit(put_text(out, " Td "));
    const std::string text = pdf_literal(caption) + " Tj ET\n";
    out = sink.reserve(text.size());
    sink.commit(put_text(out, text));
    page.content = sink.take();
    return page;
}

namespace {

// Each group of pages under one leaf node: the leaf, then three objects a
// page (the page, its content, its bookmark). Every number follows from
// the page's index.
std::size_t leaf_number(std::size_t group, std::size_t fan_out)
{
    return first_group + group * (3 * fan_out + 1);
}

std::size_t page_number(std::size_t index, std::size_t fan_out)
{
    return leaf_number(index / fan_out, fan_out) + 1 + 3 * (index % fan_out);
}

std::size_t content_number(std::size_t index, std::size_t fan_out)
{
    return page_number(index, fan_out) + 1;
}

std::size_t item_number(std::size_t index, std::size_t fan_out)
{
    return page_number(index, fan_out) + 2;
}

}  // namespace

pdf_book::pdf_book(file_system& files, const std::string& path, const std::string& title,
                   std::size_t fan_out)
    : doc_(files, path), pdf_(doc_), title_(title), fan_out_(std::max<std::size_t>(2, fan_out))
{
    write_object(pdf_, font, pdf_font_object);
    write_object(pdf_, state, pdf_state_object);
    write_object(pdf_, resources, pdf_resources(font, state));
}

void pdf_book::write_outline_item(std::size_t index, bool last)
{
    std::string item =
        "<< /Title " + pdf_text_string(pending_title_) + " /Parent " + reference(outlines);
    if (index > 0) item += " /Prev " + reference(item_number(index - 1, fan_out_));
    if (!last) item += " /Next " + reference(item_number(index + 1, fan_out_));
    item += " /Dest [" + reference(page_number(index, fan_out_)) + " /Fit] >>";
    write_object(pdf_, item_number(index, fan_out_), item);
}

void pdf_book::add(const book_page& page)
{
    const std::size_t index = pages_;
    if (index > 0) write_outline_item(index - 1, false);
    write_object(pdf_, page_number(index, fan_out_),
                 "<< /Type /Page /Parent " + reference(leaf_number(index / fan_out_, fan_out_)) +
                     " /MediaBox " + media_box(page.width, page.height) + " /Resources " +
                     reference(resources) + " /Contents " +
                     reference(content_number(index, fan_out_)) + " >>");
    begin_object(pdf_, content_number(index, fan_out_));
    write_text(doc_, "<< /Length " + std::to_string(page.content.size()) + " >>\nstream\n");
    write_text(doc_, page.content);
    write_text(doc_, "\nendstream\nendobj\n");
    pending_title_ = page.outline_title;
    ++pages_;
}

void pdf_book::close()
{
    const std::size_t n = pages_;
    if (n > 0) write_outline_item(n - 1, true);
    std::size_t next = n == 0 ? first_group : item_number(n - 1, fan_out_) + 1;

    // The page tree, from the leaves up: level 0 holds the leaves, whose
    // numbers were given as their first pages came; each level above
    // gathers `fan_out_` nodes of the one below, until the root can hold
    // the top level. Nodes above the leaves are numbered here.
    std::vector<std::size_t> counts{(n + fan_out_ - 1) / fan_out_};  // nodes a level
    std::vector<std::size_t> starts{0};                              // first number a level
    while (counts.back() > fan_out_) {
        starts.push_back(next);
        next += (counts.back() + fan_out_ - 1) / fan_out_;
        counts.push_back((counts.back() + fan_out_ - 1) / fan_out_);
    }
    const std::size_t top = counts.size() - 1;
    const auto number = [&](std::size_t level, std::size_t j) {
        return level == 0 ? leaf_number(j, fan_out_) : starts[level] + j;
    };
    std::size_t span = fan_out_;  // pages under a full node of the level
    for (std::size_t level = 0; level <= top; ++level, span *= fan_out_) {
        for (std::size_t j = 0; j < counts[level]; ++j) {
            std::string kids;
            const std::size_t kid_count = level == 0 ? n : counts[level - 1];
            for (std::size_t k = j * fan_out_; k < std::min(kid_count, (j + 1) * fan_out_); ++k) {
                kids += (kids.empty() ? "" : " ") +
                        reference(level == 0 ? page_number(k, fan_out_) : number(level - 1, k));
            }
            const std::size_t parent = level == top ? root : number(level + 1, j / fan_out_);
            write_object(pdf_, number(level, j),
                         "<< /Type /Pages /Parent " + reference(parent) + " /Kids [" + kids +
                             "] /Count " + std::to_string(std::min(span, n - j * span)) + " >>");
        }
    }
    std::string kids;
    for (std::size_t j = 0; j < counts[top]; ++j)
        kids += (kids.empty() ? "" : " ") + reference(number(top, j));
    write_object(pdf_, root,
                 "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(n) + " >>");

    write_object(pdf_, outlines,
                 n == 0 ? std::string("<< /Type /Outlines /Count 0 >>")
                        : "<< /Type /Outlines /First " + reference(item_number(0, fan_out_)) +
                              " /Last " + reference(item_number(n - 1, fan_out_)) + " /Count " +
                              std::to_string(n) + " >>");
    write_object(pdf_, catalog,
                 "<< /Type /Catalog /Pages " + reference(root) + " /Outlines " +
                     reference(outlines) + " /PageMode /UseOutlines >>");
    write_object(pdf_, info, "<< /Title " + pdf_text_string(title_) + " >>");
    finish_pdf(pdf_, next - 1, catalog, info);
}
