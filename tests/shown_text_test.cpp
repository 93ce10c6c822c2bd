// Paths made safe for one line of standard error.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "shown_text.h"

namespace {

TEST(ShownPath, EscapesWhatCouldBreakOrReorderAMessage)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"cases/nine squares.txt", "cases/nine squares.txt"},
        {"C:\\cases\\\"q\"~.txt", "C:\\cases\\\"q\"~.txt"},
        {"caf\xc3\xa9/\xe6\x96\xb9\xf0\x9f\x98\x80", "caf\xc3\xa9/\xe6\x96\xb9\xf0\x9f\x98\x80"},
        {std::string("a\0b\n\r\t\x1b[1m\x7f", 11), "a\\x00b\\x0a\\x0d\\x09\\x1b[1m\\x7f"},
        // Not well-formed UTF-8: stray, truncated, overlong, surrogate, past U+10FFFF.
        {"\x80\xbf\xfe\xff", "\\x80\\xbf\\xfe\\xff"},
        {"\xc3", "\\xc3"},
        {"\xe2\x80", "\\xe2\\x80"},
        {"\xe2\x80"
         "A\xc3\xa9",
         "\\xe2\\x80A\xc3\xa9"},
        {"\xc0\xaf\xc1\xbf\xe0\x9f\xbf\xf0\x8f\xbf\xbf",
         "\\xc0\\xaf\\xc1\\xbf\\xe0\\x9f\\xbf\\xf0\\x8f\\xbf\\xbf"},
        {"\xed\xa0\x80\xed\x9f\xbf", "\\xed\\xa0\\x80\xed\x9f\xbf"},
        {"\xf4\x90\x80\x80\xf4\x8f\xbf\xbf", "\\xf4\\x90\\x80\\x80\xf4\x8f\xbf\xbf"},
        // C1 controls, line separators and direction controls, and their neighbours.
        {"\xc2\x80\xc2\x85\xc2\x9f\xc2\xa0", "\\xc2\\x80\\xc2\\x85\\xc2\\x9f\xc2\xa0"},
        {"\xe2\x80\xa7\xe2\x80\xa8\xe2\x80\xa9", "\xe2\x80\xa7\\xe2\\x80\\xa8\\xe2\\x80\\xa9"},
        {"\xe2\x80\xaa\xe2\x80\xae\xe2\x80\xaf", "\\xe2\\x80\\xaa\\xe2\\x80\\xae\xe2\x80\xaf"},
        {"\xe2\x81\xa5\xe2\x81\xa6\xe2\x81\xa9\xe2\x81\xaa",
         "\xe2\x81\xa5\\xe2\\x81\\xa6\\xe2\\x81\\xa9\xe2\x81\xaa"},
    };
    for (const auto& [path, shown] : cases) EXPECT_EQ(shown_path(path), shown) << path;
    EXPECT_EQ(shown_path("\xef\xbf\xbe\xef\xbf\xbf\xef\xbf\xbd"), "\\xef\\xbf\\xbe\\xef\\xbf\\xbf\xef\xbf\xbd");
}

// Markup escapes and drops into U+FFFD what XML 1.0 does not allow.
TEST(EscapedMarkup, EntitiesAndOnlyCharactersXmlAllows)
{
    const std::string fffd = "\xef\xbf\xbd";
    const std::pair<std::string, std::string> cases[] = {
        {"a<b>&\"c\"'", "a&lt;b&gt;&amp;&quot;c&quot;'"},
        {"tab\tlf\ncr\r\x7f", "tab\tlf\ncr\r\x7f"},
        {std::string("\0\x01\x1f ", 4), fffd + fffd + fffd + " "},
        {"\xef\xbf\xbe\xef\xbf\xbf\xef\xbf\xbd", fffd + fffd + fffd},
        {"\xed\xa0\x80", fffd + fffd + fffd},  // a surrogate in UTF-8
        {"\x80\xff\xc3", fffd + fffd + fffd},
        {"caf\xc3\xa9 \xf0\x9f\x98\x80\xee\x80\x80", "caf\xc3\xa9 \xf0\x9f\x98\x80\xee\x80\x80"},
    };
    for (const auto& [text, markup] : cases) EXPECT_EQ(escaped_markup(text), markup) << text;
}

}  // namespace
