// The Smith diagram's geometry, read back from the drawings of random
// dissections: each square an edge as long as its side between the lines
// of its top and bottom segments, each line as long as the squares on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "analysis/case_check.h"
#include "document/case_report.h"
#include "document/picture_writer.h"
#include "memory_files.h"
#include "random_cases.h"

namespace {

// Squares laid where the placement lays them, at the leftmost lowest point.
square_case random_dissection(std::mt19937_64& random)
{
    square_case c;
    c.width = 1 + static_cast<std::int32_t>(random() % 40);
    c.height = 1 + static_cast<std::int32_t>(random() % 40);
    run_model model(c.width);
    for (auto [column, depth] = model.lowest(); depth < c.height;
         std::tie(column, depth) = model.lowest()) {
        std::int64_t at = 0, room = c.height - depth;
        for (const run_model::run& r : model.runs) {
            if (at == column) room = std::min(room, r.length);
            at += r.length;
        }
        const std::int64_t side =
            1 + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(room));
        model.raise(column, column + side, side);
        c.sides.push_back(static_cast<std::int32_t>(side));
    }
    c.count = static_cast<std::int32_t>(c.sides.size());
    return c;
}

std::vector<std::vector<double>> numbers_of(const std::string& svg, const std::string& pattern)
{
    std::vector<std::vector<double>> found;
    const std::regex element(pattern);
    for (auto m = std::sregex_iterator(svg.begin(), svg.end(), element);
         m != std::sregex_iterator(); ++m) {
        found.emplace_back();
        for (std::size_t i = 1; i < m->size(); ++i) found.back().push_back(std::stod((*m)[i]));
    }
    return found;
}

TEST(Smith, EdgesAsLongAsTheirSquaresJoinTheLinesThatSpanThem)
{
    std::mt19937_64 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        const square_case c = random_dissection(random);
        ASSERT_TRUE(check_case(c).dissection) << trial;
        memory_files fs;
        tiling_report report(c.height);
        draw_case(c, *find_format("smith")->open(fs, "s.svg", {}), report, true);
        const std::string svg = fs.files.at("s.svg");
        const std::string number = R"(([0-9.]+))";
        const auto lines =
            numbers_of(svg, R"(<line class="node" x1=")" + number + R"(" y1=")" + number +
                                R"(" x2=")" + number + R"(" y2=")" + number);
        const auto edges = numbers_of(svg, R"(<line class="edge" x1=")" + number + R"(" y1=")" +
                                               number + R"(" x2=")" + number + R"(" y2=")" +
                                               number + R"("/>\n<text x="[0-9.]+" y=")" + number +
                                               R"(".*>([0-9]+)</text>)");
        ASSERT_EQ(edges.size(), c.sides.size());
        std::vector<double> lengths, sides(c.sides.begin(), c.sides.end());
        std::vector<double> above(lines.size()), below(lines.size());
        for (const auto& e : edges) {
            ASSERT_TRUE(e[0] == e[2] && e[3] - e[1] == e[5] && e[4] * 2 == e[1] + e[3]) << trial;
            lengths.push_back(e[5]);
            for (std::size_t k = 0; k < lines.size(); ++k) {
                const auto& l = lines[k];
                const bool spans = l[0] <= e[0] - e[5] / 2 && e[0] + e[5] / 2 <= l[2];
                if (spans && l[1] == e[1]) below[k] += e[5];
                if (spans && l[1] == e[3]) above[k] += e[5];
            }
        }
        std::sort(lengths.begin(), lengths.end());
        std::sort(sides.begin(), sides.end());
        EXPECT_EQ(lengths, sides) << trial;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const double length = lines[k][2] - lines[k][0];
            EXPECT_EQ(k == 0 ? c.width : above[k], length) << trial;
            EXPECT_EQ(k + 1 == lines.size() ? c.width : below[k], length) << trial;
        }
        EXPECT_NE(svg.find("<path class=\"battery\" d=\"M" + std::to_string(c.width) + " 0H"),
                  std::string::npos);
    }
}

// The PDF drawing of one layout: its node lines are the SVG's, and each
// edge, in the content's units, is as long as the square it is labelled with.
TEST(Smith, PdfDrawsTheSvgLayoutWithEdgesAsLongAsTheirSquares)
{
    std::mt19937_64 random(7);
    const std::string number = R"(([0-9.]+))";
    for (int trial = 0; trial < 100; ++trial) {
        const square_case c = random_dissection(random);
        memory_files fs;
        tiling_report report(c.height), again(c.height);
        draw_case(c, *find_format("smith")->open(fs, "s.svg", {}), report, true);
        draw_case(c, *find_format("smith-pdf")->open(fs, "s.pdf", {}), again, true);
        const std::string pdf = fs.files.at("s.pdf");
        const auto block = [&](const std::string& tag) {
            const std::size_t from = pdf.find("/" + tag + " BMC\n");
            return pdf.substr(from, pdf.find("EMC", from) - from);
        };
        const auto segment = number + " " + number + " m " + number + " " + number + " l S";
        auto svg_nodes = numbers_of(fs.files.at("s.svg"), R"(<line class="node" x1=")" + number +
                                                              R"(" y1=")" + number + R"(" x2=")" +
                                                              number + R"(" y2=")" + number);
        EXPECT_EQ(numbers_of(block("Node"), segment), svg_nodes) << trial;
        const auto edges = numbers_of(block("Edge"), segment);
        const auto labels = numbers_of(block("Label"), R"(\(([0-9]+)\)Tj)");
        ASSERT_EQ(edges.size(), c.sides.size()) << trial;
        ASSERT_EQ(labels.size(), edges.size()) << trial;
        std::vector<double> lengths, sides(c.sides.begin(), c.sides.end());
        for (std::size_t k = 0; k < edges.size(); ++k) {
            const auto& e = edges[k];
            EXPECT_TRUE(e[0] == e[2] && e[3] - e[1] == labels[k][0]) << trial;
            lengths.push_back(e[3] - e[1]);
        }
        std::sort(lengths.begin(), lengths.end());
        std::sort(sides.begin(), sides.end());
        EXPECT_EQ(lengths, sides) << trial;
    }
}

}  // namespace
