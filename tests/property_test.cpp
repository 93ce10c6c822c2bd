// Properties of whole documents over thousands of random well-formed cases:
// the line count, placements read back from the text, outlines that close,
// and agreement with a plain model of the skyline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "document/skal.h"
#include "document/case_report.h"
#include "memory_files.h"
#include "random_cases.h"

namespace {

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct segment {
    long long x1, y1, x2, y2;
};

segment read_segment(const std::string& line)
{
    segment s{};
    EXPECT_EQ(std::sscanf(line.c_str(), "    \\psline[linewidth=0.1pt](%lld,%lld)(%lld,%lld)",
                          &s.x1, &s.y1, &s.x2, &s.y2),
              4)
        << line;
    return s;
}

std::string centre(long long twice)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(twice) * 0.5);
    return text;
}

TEST(DocumentProperties, RandomCasesReadBackToTheirPlacements)
{
    std::mt19937_64 random(20261207);
    for (int trial = 0; trial < 3000; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const random_case rc = make_random_case(random);
        memory_files fs;
        write_document(rc.c, fs);
        const std::vector<std::string> lines = lines_of(fs.files.at("squares.tex"));
        ASSERT_EQ(lines.size(), 10 + 6 * rc.squares.size());
        ASSERT_EQ(lines[6], "  \\begin{pspicture}(0,0)(" + std::to_string(rc.c.width) + "," +
                                std::to_string(rc.c.height) + ")");
        for (std::size_t i = 0; i < rc.squares.size(); ++i) {
            const expected_square& e = rc.squares[i];
            const std::size_t at = 8 + 6 * i;
            const segment left = read_segment(lines[at + 1]);
            const segment bottom = read_segment(lines[at + 2]);
            const segment right = read_segment(lines[at + 3]);
            const segment top = read_segment(lines[at + 4]);
            // The placement read back from the outline.
            ASSERT_EQ(left.x1, e.column);
            ASSERT_EQ(left.y1, e.top);
            ASSERT_EQ(right.x1 - left.x1, e.side);
            // The four segments join up into the square's outline.
            ASSERT_EQ(left.x2, bottom.x1);
            ASSERT_EQ(left.y2, bottom.y1);
            ASSERT_EQ(bottom.x2, right.x1);
            ASSERT_EQ(bottom.y2, right.y1);
            ASSERT_EQ(right.x2, top.x1);
            ASSERT_EQ(right.y2, top.y1);
            ASSERT_EQ(top.x2, left.x1);
            ASSERT_EQ(top.y2, left.y1);
            ASSERT_EQ(left.y1 - left.y2, e.side);
            ASSERT_EQ(lines[at].rfind("    \\rput(" + centre(2 * e.column + e.side) + "," +
                                          centre(2 * e.top - e.side) + "){\\psscalebox{",
                                      0),
                      0u)
                << lines[at];
            char scale[400];
            std::snprintf(scale, sizeof scale, "%f", skal(e.side, rc.c.width));
            ASSERT_EQ(lines[at].substr(lines[at].find("{\\psscalebox{")),
                      "{\\psscalebox{" + std::string(scale) + "}{" + std::to_string(e.side) + "}}");
            ASSERT_EQ(lines[at + 5], "");
        }
    }
}

}  // namespace
