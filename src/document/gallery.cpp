#include "document/gallery.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>

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

// The lines in turn, each with its line end. (Temporaries in the list live
// until the call returns.)
void write_lines(document& page, std::initializer_list<std::string_view> lines)
{
    for (const std::string_view line : lines) write_line(page, line);
}

}  // namespace

void write_gallery_head(document& page, const std::string& title)
{
    const std::string text = escaped(title);
    write_lines(page, {
                          "<!DOCTYPE html>",
                          "<html lang=\"en\">",
                          "<head>",
                          "<meta charset=\"utf-8\">",
                          "<title>" + text + "</title>",
                          "<style>",
                          "body { font-family: sans-serif; margin: 1em; }",
                          "main { display: flex; flex-wrap: wrap; gap: 1em; }",
                          "figure { margin: 0; width: 200px; content-visibility: auto; "
                          "contain-intrinsic-size: 200px 280px; }",
                          ".picture { height: 200px; display: flex; align-items: center; "
                          "justify-content: center; }",
                          "img { max-width: 200px; max-height: 200px; }",
                          "figcaption { font-size: 80%; }",
                          ".no { color: #b00; }",
                          "</style>",
                          "</head>",
                          "<body>",
                          "<h1>" + text + "</h1>",
                          "<main>",
                      });
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
    // Each drawing loads as it comes near the window. Browsers defer
    // loading="lazy" images only for pages served over the web, and this
    // page is mostly opened from disk, where all would load at once.
    write_lines(page,
                {
                    "</main>",
                    "<noscript>The drawings load as they scroll into view, which needs "
                    "JavaScript; the .svg files beside this page open on their own.</noscript>",
                    "<script>",
                    "const shown = new IntersectionObserver((entries) => {",
                    "  for (const e of entries) {",
                    "    if (!e.isIntersecting) continue;",
                    "    e.target.src = e.target.dataset.src;",
                    "    shown.unobserve(e.target);",
                    "  }",
                    "}, { rootMargin: '500px' });",
                    "document.querySelectorAll('img[data-src]').forEach((i) => shown.observe(i));",
                    "</script>",
                    "</body>",
                    "</html>",
                });
    close_document(page);
}
