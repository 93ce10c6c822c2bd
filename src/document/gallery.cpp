#include "document/gallery.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "analysis/check_table.h"
#include "document/document.h"
#include "placement/place_squares.h"
#include "shown_text.h"

namespace {

// The longer side of a thumbnail, in CSS pixels.
constexpr double thumbnail = 200;

constexpr std::int64_t entries_per_page = 1000;

// The verdict in a few words.
std::string verdict_text(const case_verdict& v)
{
    if (!v.dissection) return "not a dissection: " + escaped_markup(v.problem);
    return verdict_words(v);
}

std::string page_name(const char* list, std::int64_t page)
{
    std::string digits = std::to_string(page);
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    return std::string(list) + "-" + digits + ".html";
}

const char* const style =
    "<style>\n"
    "body { font-family: sans-serif; margin: 1em; }\n"
    "main { display: flex; flex-wrap: wrap; gap: 1em; }\n"
    "figure { margin: 0; width: 200px; content-visibility: auto; "
    "contain-intrinsic-size: 200px 280px; }\n"
    ".picture { height: 200px; display: flex; align-items: center; justify-content: center; }\n"
    // A block, not inline: on a line of its own the image's box grows by the
    // room under the text's baseline, and content-visibility:auto clips the
    // top edge of a 200 px drawing.
    "img { display: block; max-width: 200px; max-height: 200px; }\n"
    // A long word (a code without spaces) wraps rather than being cut off.
    "figcaption { font-size: 80%; overflow-wrap: anywhere; }\n"
    ".no { color: #b00; }\n"
    "nav { margin: 1em 0; }\n"
    "td { text-align: right; padding: 0 1em; }\n"
    "</style>\n";

std::string head(const std::string& title)
{
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
           title + "</title>\n" + style + "</head>\n<body>\n";
}

// Without scripts each drawing is the <noscript> image, with the browser's
// own lazy loading. With them, the script turns it into an image that
// loads as it comes near the window: Chromium loads loading="lazy" images
// at once on pages opened from disk, as these mostly are, and a page of
// 1,000 drawings then takes a minute instead of seconds.
const char* const tail =
    "<script>\n"
    "const shown = new IntersectionObserver((entries) => {\n"
    "  for (const e of entries) {\n"
    "    if (!e.isIntersecting) continue;\n"
    "    e.target.src = e.target.dataset.src;\n"
    "    shown.unobserve(e.target);\n"
    "  }\n"
    "}, { rootMargin: '500px' });\n"
    "for (const n of document.querySelectorAll('.picture noscript')) {\n"
    "  const t = document.createElement('template');\n"
    "  t.innerHTML = n.textContent;\n"
    "  const i = t.content.firstElementChild;\n"
    "  i.dataset.src = i.getAttribute('src');\n"
    "  i.removeAttribute('src');\n"
    "  n.replaceWith(i);\n"
    "  shown.observe(i);\n"
    "}\n"
    "</script>\n"
    "</body>\n"
    "</html>\n";

void write_page_file(file_system& files, const std::string& path, const std::string& text)
{
    document page(files, path, links::replace);
    write_text(page, text);
    close_document(page);
}

// The code under an entry, to be found and copied, and what it is: the
// canonical code or the line as given, which may be drawn mirrored or turned.
std::string code_line(const std::string& code, bool canonical)
{
    if (code.empty()) return {};
    return std::string("<br>") + (canonical ? "canonical:" : "as given:") + " <code>" +
           escaped_markup(code) + "</code>";
}

}  // namespace

gallery_entry case_entry(std::int64_t number, std::int64_t line, const square_case& c,
                         const case_verdict& verdict, const std::string& drawing,
                         const std::string& failure, const std::string& code)
{
    gallery_entry entry;
    entry.failed = drawing.empty();
    entry.checked = true;
    entry.verdict = verdict;
    const std::string id = std::to_string(number);
    std::string& h = entry.html;
    h = "<figure id=\"case-" + id + "\">";
    if (drawing.empty()) {
        h += "<div class=\"picture no\">not drawn: " + escaped_markup(failure) + "</div>";
    } else {
        // The box each image takes before it loads, so the page does not
        // jump: the drawing's own shape, squares beyond the frame included.
        const drawing_extent extent = extent_of(c);
        const auto w = static_cast<double>(std::max<std::int64_t>(1, extent.right));
        const auto ht = static_cast<double>(std::max<std::int64_t>({1, c.height, extent.bottom}));
        const double scale = thumbnail / std::max(w, ht);
        const auto px = [&](double v) {
            return std::to_string(std::max(1L, std::lround(v * scale)));
        };
        const std::string file = escaped_markup(drawing);
        h += "<div class=\"picture\"><a href=\"" + file + "\"><noscript><img src=\"" + file +
             "\" loading=\"lazy\" width=\"" + px(w) + "\" height=\"" + px(ht) + "\" alt=\"case " +
             id + "\"></noscript></a></div>";
    }
    h += "<figcaption>case " + id + ", line " + std::to_string(line) + ": order " +
         std::to_string(c.count) + ", " + std::to_string(c.width) + "&nbsp;x&nbsp;" +
         std::to_string(c.height) + "<br><span class=\"" + (verdict.dissection ? "yes" : "no") +
         "\">" + verdict_text(verdict) + "</span>";
    if (!c.caption.empty()) h += "<br><q>" + escaped_markup(c.caption) + "</q>";
    h += code_line(code, verdict.dissection) + "</figcaption></figure>\n";
    return entry;
}

gallery_entry unreadable_entry(std::int64_t number, std::int64_t line, const std::string& message,
                               const std::string& code, const std::string& caption)
{
    gallery_entry entry;
    entry.failed = true;
    entry.html = "<figure id=\"case-" + std::to_string(number) +
                 "\"><div class=\"picture no\">line " + std::to_string(line) + ": " +
                 escaped_markup(message) + "</div><figcaption>case " + std::to_string(number) +
                 ", line " + std::to_string(line) + ": not read" +
                 (caption.empty() ? "" : "<br><q>" + escaped_markup(caption) + "</q>") +
                 code_line(code, false) + "</figcaption></figure>\n";
    return entry;
}

void catalogue_summary::add(const catalogue_summary& more)
{
    lines += more.lines;
    cases += more.cases;
    unreadable += more.unreadable;
    drawn += more.drawn;
    not_drawn += more.not_drawn;
    drawn_in_part += more.drawn_in_part;
    dissections += more.dissections;
    perfect += more.perfect;
    simple += more.simple;
    checked += more.checked;
    left_out += more.left_out;
}

gallery::gallery(file_system& files, std::string directory, std::string title)
    : files_(files),
      directory_(std::move(directory)),
      title_(escaped_markup(shown_path(title))),  // a file name: any bytes
      lists_{
          {"page", "all entries", 0, 0, 0, {}},
          {"failed", "not drawn or not read", 0, 0, 0, {}},
          {"not-dissection", "not dissections", 0, 0, 0, {}},
          {"perfect", "perfect", 0, 0, 0, {}},
          {"imperfect", "imperfect", 0, 0, 0, {}},
          {"simple", "simple", 0, 0, 0, {}},
          {"compound", "compound", 0, 0, 0, {}},
      }
{
}

std::string gallery::path(const std::string& name) const
{
    if (!directory_.empty() && directory_.back() == '/') return directory_ + name;
    return directory_ + "/" + name;
}

void gallery::add(const gallery_entry& entry)
{
    put(lists_[0], entry.html);
    if (entry.failed) put(lists_[1], entry.html);
    if (!entry.checked) return;
    const case_verdict& v = entry.verdict;
    if (!v.dissection) {
        put(lists_[2], entry.html);
        return;
    }
    put(lists_[v.perfect ? 3 : 4], entry.html);
    put(lists_[v.simple ? 5 : 6], entry.html);
}

void gallery::put(list& l, const std::string& html)
{
    // A full page is written once the next entry shows it has a successor.
    if (l.on_page == entries_per_page) write_page(l, true);
    if (l.on_page == 0) ++l.page;
    l.entries += html;
    ++l.on_page;
    ++l.total;
}

void gallery::write_page(list& l, bool more)
{
    std::string nav = "<nav><a href=\"index.html\">summary</a>";
    if (l.page > 1) nav += " · <a href=\"" + page_name(l.name, l.page - 1) + "\">previous</a>";
    nav += std::string(" · ") + l.heading + ", page " + std::to_string(l.page);
    if (more) nav += " · <a href=\"" + page_name(l.name, l.page + 1) + "\">next</a>";
    nav += "</nav>\n";
    const std::string text = head(title_ + ": " + l.heading + ", page " + std::to_string(l.page)) +
                             "<h1>" + title_ + "</h1>\n" + nav + "<main>\n" + l.entries +
                             "</main>\n" + nav + tail;
    const std::string name = page_name(l.name, l.page);
    if (before_page) before_page(name, path(name));
    write_page_file(files_, path(name), text);
    l.entries.clear();
    l.on_page = 0;
}

void gallery::finish(const catalogue_summary& s)
{
    for (list& l : lists_) {
        if (l.on_page > 0) write_page(l, false);
    }
    const auto row = [&](const char* what, std::int64_t count, const list* to) {
        std::string label = what;
        if (to != nullptr && to->total > 0) {
            label = "<a href=\"" + page_name(to->name, 1) + "\">" + label + "</a>";
        }
        return "<tr><th scope=\"row\">" + label + "</th><td>" + std::to_string(count) +
               "</td></tr>\n";
    };
    const std::int64_t dissections = s.dissections;
    std::string text = head(title_) + "<h1>" + title_ + "</h1>\n<table>\n";
    text += row("lines read", s.lines, nullptr);
    text += row("cases", s.cases, &lists_[0]);
    text += row("drawn", s.drawn, nullptr);
    text += row("not drawn", s.not_drawn, &lists_[1]);
    text += row("lines that could not be read", s.unreadable, &lists_[1]);
    text += row("dissections", dissections, nullptr);
    text += row("not dissections", s.checked - dissections, &lists_[2]);
    text += row("perfect", s.perfect, &lists_[3]);
    text += row("imperfect", dissections - s.perfect, &lists_[4]);
    text += row("simple", s.simple, &lists_[5]);
    text += row("compound", dissections - s.simple, &lists_[6]);
    if (s.left_out > 0) text += row("left out by --only", s.left_out, nullptr);
    text += "</table>\n</body>\n</html>\n";
    if (before_page) before_page("index.html", path("index.html"));
    write_page_file(files_, path("index.html"), text);
}

void gallery::each_page(const std::function<void(const std::string&)>& f) const
{
    std::vector<const list*> by_name;
    for (const list& l : lists_) by_name.push_back(&l);
    std::sort(by_name.begin(), by_name.end(),
              [](const list* a, const list* b) { return std::strcmp(a->name, b->name) < 0; });
    for (const list* l : by_name) {
        for (std::int64_t page = 1; page <= l->page; ++page) f(page_name(l->name, page));
    }
    f("index.html");
}

bool gallery::is_page_name(const std::string& name)
{
    static const char* const lists[] = {"page",      "failed", "not-dissection", "perfect",
                                        "imperfect", "simple", "compound"};
    if (name == "index.html") return true;
    for (const char* l : lists) {
        const std::size_t n = std::strlen(l);
        if (name.size() < n + 12 || name.compare(0, n, l) != 0 || name[n] != '-') continue;
        if (name.compare(name.size() - 5, 5, ".html") != 0) continue;
        const std::string digits = name.substr(n + 1, name.size() - n - 6);
        if (digits.size() >= 6 && digits.find_first_not_of("0123456789") == std::string::npos) {
            return true;
        }
    }
    return false;
}
