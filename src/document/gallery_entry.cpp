#include "document/gallery_entry.h"

#include <algorithm>
#include <cmath>

#include "analysis/check_table.h"
#include "document/picture_writer.h"
#include "document/smith_layout.h"
#include "placement/place_squares.h"
#include "shown_text.h"

namespace {

// The longer side of a thumbnail, in CSS pixels.
constexpr double thumbnail = 200;

// The verdict in a few words.
std::string verdict_text(const case_verdict& v)
{
    if (!v.dissection) return "not a dissection: " + escaped_markup(v.problem);
    return verdict_words(v);
}

// The code under an entry, to be found and copied.
std::string code_line(const std::string& code, bool canonical)
{
    if (code.empty()) return {};
    return std::string("<br>") + (canonical ? "canonical:" : "as given:") + " <code>" +
           escaped_markup(code) + "</code>";
}

// The Smith diagram's thumbnail, its box the diagram's shape, margins and
// battery included.
std::string smith_thumbnail(const square_case& c, const std::string& smith, const std::string& id)
{
    const std::int64_t margin = smith_margin(c.width, c.height);
    const auto w = static_cast<double>(std::max<std::int64_t>(c.width, 0) + 3 * margin);
    const auto ht = static_cast<double>(std::max<std::int64_t>(c.height, 0) + 2 * margin);
    const double scale = thumbnail / std::max(w, ht);
    const auto px = [&](double v) { return std::to_string(std::max(1L, std::lround(v * scale))); };
    const std::string file = escaped_markup(smith);
    return "<div class=\"picture smith\"><a href=\"" + file + "\"><noscript><img src=\"" + file +
           "\" loading=\"lazy\" width=\"" + px(w) + "\" height=\"" + px(ht) +
           "\" alt=\"Smith diagram of case " + id + "\"></noscript></a></div>";
}

}  // namespace

gallery_entry case_entry(std::int64_t number, std::int64_t line, const square_case& c,
                         const case_verdict& verdict, const std::string& drawing,
                         const std::string& failure, const std::string& code, std::size_t outlined,
                         const std::string& smith)
{
    gallery_entry entry;
    entry.failed = drawing.empty();
    entry.checked = true;
    entry.verdict = verdict;
    const std::string id = std::to_string(number);
    std::string& h = entry.html;
    // Two thumbnails side by side: the entry twice as wide, and the gap.
    h = "<figure id=\"case-" + id + "\"" +
        (smith.empty() ? std::string(">")
                       : " style=\"width: 410px\"><div class=\"pair\" " +
                             std::string("style=\"display: flex; gap: 10px\">"));
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
    if (!smith.empty()) h += smith_thumbnail(c, smith, id) + "</div>";
    h += "<figcaption>case " + id + ", line " + std::to_string(line) + ": order " +
         std::to_string(c.count) + ", " + std::to_string(c.width) + "&nbsp;x&nbsp;" +
         std::to_string(c.height) + "<br><span class=\"" + (verdict.dissection ? "yes" : "no") +
         "\">" + verdict_text(verdict) + "</span>";
    if (outlined > 0 && !drawing.empty()) h += ", " + outlined_words(outlined);
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
