// The SVG drawing: one whole file, and the geometry read back from the
// drawings of random cases against a plain model of the placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "document/picture_writer.h"
#include "driver.h"
#include "memory_files.h"
#include "random_cases.h"
#include "test_cases.h"

namespace {

std::string draw_svg(const square_case& c)
{
    memory_files fs;
    tiling_report report(c.height);
    draw_case(c, *find_format("svg")->open(fs, "squares.svg"), report);
    return fs.files.at("squares.svg");
}

TEST(Svg, ThreeSquaresWholeFile)
{
    EXPECT_EQ(draw_svg(make_case(3, 2, {2, 1, 1})),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"-0.005 -0.005 3.01 2.01\" "
              "fill=\"none\" stroke=\"#000\" stroke-width=\"0.005\" font-family=\"sans-serif\" "
              "text-anchor=\"middle\">\n"
              "<title>3 squares in a 3 x 2 rectangle</title>\n"
              "<rect class=\"frame\" x=\"0\" y=\"0\" width=\"3\" height=\"2\" stroke=\"#aaa\"/>\n"
              "<rect class=\"square\" x=\"0\" y=\"0\" width=\"2\" height=\"2\"/>\n"
              "<text x=\"1\" y=\"1\" font-size=\"1\" dy=\".35em\" fill=\"#000\" "
              "stroke=\"none\">2</text>\n"
              "<rect class=\"square\" x=\"2\" y=\"0\" width=\"1\" height=\"1\"/>\n"
              "<text x=\"2.5\" y=\"0.5\" font-size=\"0.5\" dy=\".35em\" fill=\"#000\" "
              "stroke=\"none\">1</text>\n"
              "<rect class=\"square\" x=\"2\" y=\"1\" width=\"1\" height=\"1\"/>\n"
              "<text x=\"2.5\" y=\"1.5\" font-size=\"0.5\" dy=\".35em\" fill=\"#000\" "
              "stroke=\"none\">1</text>\n"
              "</svg>\n");
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The number after `name="` in `line`.
double attribute(const std::string& line, const std::string& name)
{
    const std::size_t at = line.find(" " + name + "=\"");
    EXPECT_NE(at, std::string::npos) << name << " in " << line;
    return at == std::string::npos ? 0 : std::strtod(line.c_str() + at + name.size() + 3, nullptr);
}

int digit_count(std::int32_t side)
{
    return static_cast<int>(std::to_string(side).size());
}

TEST(SvgProperties, RandomCasesReadBackToTheirPlacements)
{
    std::mt19937_64 random(20261208);
    for (int trial = 0; trial < 400; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const random_case rc = make_random_case(random);
        const square_case& c = rc.c;
        const std::vector<std::string> lines = lines_of(draw_svg(c));

        // The squares drawn, and those the report names: the first on
        // uneven ground, the first reaching below the bottom edge.
        std::vector<expected_square> drawn;
        std::vector<bool> named;
        bool uneven_seen = false;
        bool below_seen = false;
        std::int64_t deepest = std::max(c.height, 0);
        for (const expected_square& e : rc.squares) {
            if (e.side <= 0) continue;
            const bool below = e.top - e.side < 0;
            named.push_back((e.uneven && !uneven_seen) || (below && !below_seen));
            uneven_seen = uneven_seen || e.uneven;
            below_seen = below_seen || below;
            drawn.push_back(e);
            deepest = std::max(deepest, c.height - e.top + e.side);
        }
        ASSERT_EQ(lines.size(), 5 + 2 * drawn.size());
        ASSERT_EQ(lines.back(), "</svg>");

        // The view box: the frame and every square, a margin of one line
        // width round them.
        const std::string& root = lines[1];
        double box[4];
        ASSERT_EQ(std::sscanf(root.c_str() + root.find("viewBox=\""), "viewBox=\"%lf %lf %lf %lf\"",
                              &box[0], &box[1], &box[2], &box[3]),
                  4)
            << root;
        const double line_width = attribute(root, "stroke-width");
        EXPECT_GT(line_width, 0);
        EXPECT_EQ(box[0], -line_width);
        EXPECT_EQ(box[1], -line_width);
        EXPECT_NEAR(box[2], c.width + 2 * line_width, 1e-6 * c.width);
        EXPECT_NEAR(box[3], static_cast<double>(deepest) + 2 * line_width, 1e-6 * deepest + 1e-9);
        // A thin line, also beside the smallest square.
        if (!drawn.empty()) {
            const auto smallest = std::min_element(
                drawn.begin(), drawn.end(),
                [](const expected_square& a, const expected_square& b) { return a.side < b.side; });
            EXPECT_LE(line_width, smallest->side / 15.0);
        }
        EXPECT_LE(line_width, std::max<double>(c.width, deepest) / 500);

        const std::string& frame = lines[3];
        EXPECT_EQ(frame.rfind("<rect class=\"frame\" x=\"0\" y=\"0\"", 0), 0u) << frame;
        EXPECT_EQ(attribute(frame, "width"), c.width);
        EXPECT_EQ(attribute(frame, "height"), std::max(c.height, 0));

        for (std::size_t i = 0; i < drawn.size(); ++i) {
            const expected_square& e = drawn[i];
            const std::string& rect = lines[4 + 2 * i];
            const std::string& text = lines[5 + 2 * i];
            const std::int64_t depth = c.height - e.top;
            EXPECT_EQ(
                rect.rfind(named[i] ? "<rect class=\"square warning\" " : "<rect class=\"square\" ",
                           0),
                0u)
                << rect;
            ASSERT_EQ(attribute(rect, "x"), e.column) << rect;
            ASSERT_EQ(attribute(rect, "y"), depth) << rect;
            ASSERT_EQ(attribute(rect, "width"), e.side) << rect;
            ASSERT_EQ(attribute(rect, "height"), e.side) << rect;
            // The label: centred, the side, sized to fit inside.
            ASSERT_EQ(attribute(text, "x"), e.column + e.side / 2.0) << text;
            ASSERT_EQ(attribute(text, "y"), depth + e.side / 2.0) << text;
            ASSERT_NEAR(attribute(text, "font-size") * std::max(2, digit_count(e.side)), e.side,
                        e.side * 1e-3)
                << text;
            const std::string label = ">" + std::to_string(e.side) + "</text>";
            ASSERT_EQ(text.compare(text.size() - label.size(), label.size(), label), 0) << text;
        }
    }
}

}  // namespace
