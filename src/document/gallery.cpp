#include "document/gallery.h"

#include <algorithm>
#include <cmath>

namespace {

// The longer side of a thumbnail, in CSS pixels.
constexpr double thumbnail = 200;

std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

const char* answer(bool value)
{
    return value ? "yes" : "no";
}

// The verdict in a few words.
std::string verdict_text(const case_verdict& v)
{
    if (!v.dissection) return "not a dissection: " + escaped(v.problem);
    return std::string(v.perfect ? "perfect" : "imperfect") + ", " +
           (v.simple ? "simple" : "compound");
}

}  // namespace

void write_gallery_head(document& page, const std::string& title)
{
    const std::string text = escaped(title);
    for (const std::string& line : {
             std::string("<!DOCTYPE html>"),
             std::string("<html lang=\"en\">"),
             std::string("<head>"),
             std::string("<meta charset=\"utf-8\">"),
             "<title>" + text + "</title>",
             std::string("<style>"),
             std::string("body { font-family: sans-serif; margin: 1em; }"),
             std::string("main { display: flex; flex-wrap: wrap; gap: 1em; }"),
             std::string("figure { margin: 0; width: 200px; content-visibility: auto; "
                         "contain-intrinsic-size: 200px 280px; }"),
             std::string(".picture { height: 200px; display: flex; align-items: center; "
                         "justify-content: center; }"),
             std::string("img { max-width: 200px; max-height: 200px; }"),
             std::string("figcaption { font-size: 80%; }"),
             std::string(".no { color: #b00; }"),
             std::string("</style>"),
             std::string("</head>"),
             std::string("<body>"),
             "<h1>" + text + "</h1>",
             std::string("<main>"),
         }) {
        write_line(page, line);
    }
}

void write_gallery_entry(document& page, const gallery_entry& entry, const square_case& c,
                         const case_verdict& verdict)
{
    // The box each image takes before it loads, so the page does not jump.
    const double w = std::max(1, c.width);
    const double h = std::max(1, c.height);
    const double scale = thumbnail / std::max(w, h);
    const auto px = [&](double v) { return std::to_string(std::max(1L, std::lround(v * scale))); };
    const std::string id = std::to_string(entry.number);
    std::string picture;
    if (entry.drawing.empty()) {
        picture = "<div class=\"picture no\">not drawn: " + escaped(entry.failure) + "</div>";
    } else {
        picture = "<div class=\"picture\"><a href=\"" + escaped(entry.drawing) +
                  "\"><img data-src=\"" + escaped(entry.drawing) + "\" width=\"" + px(w) +
                  "\" height=\"" + px(h) + "\" alt=\"case " + id + "\"></a></div>";
    }
    const std::string caption = "<figcaption>case " + id + ", line " + std::to_string(entry.line) +
                                ": order " + std::to_string(c.count) + ", " +
                                std::to_string(c.width) + " x " + std::to_string(c.height) +
                                "<br><span class=\"" + answer(verdict.dissection) + "\">" +
                                verdict_text(verdict) + "</span></figcaption>";
    write_line(page, "<figure id=\"case-" + id + "\">" + picture + caption + "</figure>");
}

void write_gallery_failure(document& page, std::int64_t line, const std::string& message)
{
    write_line(page, "<figure><div class=\"picture no\">line " + std::to_string(line) + ": " +
                         escaped(message) + "</div></figure>");
}

void write_gallery_tail(document& page)
{
    write_line(page, "</main>");
    // Each drawing loads as it comes near the window. Browsers defer
    // loading="lazy" images only for pages served over the web, and this
    // page is mostly opened from disk, where all would load at once.
    write_line(page,
               "<noscript>The drawings load as they scroll into view, which needs "
               "JavaScript; the .svg files beside this page open on their own.</noscript>");
    write_line(page, "<script>");
    write_line(page, "const shown = new IntersectionObserver((entries) => {");
    write_line(page, "  for (const e of entries) {");
    write_line(page, "    if (!e.isIntersecting) continue;");
    write_line(page, "    e.target.src = e.target.dataset.src;");
    write_line(page, "    shown.unobserve(e.target);");
    write_line(page, "  }");
    write_line(page, "}, { rootMargin: '500px' });");
    write_line(page,
               "document.querySelectorAll('img[data-src]').forEach((i) => shown.observe(i));");
    write_line(page, "</script>");
    write_line(page, "</body>");
    write_line(page, "</html>");
    close_document(page);
}
