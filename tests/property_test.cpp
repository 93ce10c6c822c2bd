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
#include "driver.h"
#include "memory_files.h"

namespace {

// The skyline as a list of runs of equal depth, searched and raised by
// walking the whole list: slow and plain.
struct run_model {
    struct run {
        std::int64_t length;
        std::int64_t depth;
    };
    std::vector<run> runs;

    explicit run_model(std::int64_t width) : runs{{width, 0}} {}

    std::pair<std::int64_t, std::int64_t> lowest() const  // column, depth
    {
        std::int64_t column = 0;
        std::int64_t best_column = 0;
        std::int64_t best_depth = runs[0].depth;
        for (const run& r : runs) {
            if (r.depth < best_depth) {
                best_depth = r.depth;
                best_column = column;
            }
            column += r.length;
        }
        return {best_column, best_depth};
    }

    std::int64_t deepest_under(std::int64_t from, std::int64_t to) const
    {
        std::int64_t column = 0;
        std::int64_t deepest = std::numeric_limits<std::int64_t>::min();
        for (const run& r : runs) {
            if (column < to && column + r.length > from) deepest = std::max(deepest, r.depth);
            column += r.length;
        }
        return deepest;
    }

    void raise(std::int64_t from, std::int64_t to, std::int64_t amount)
    {
        std::vector<run> next;
        std::int64_t column = 0;
        for (const run& r : runs) {
            const std::int64_t end = column + r.length;
            // Up to three pieces: before the range, inside it, after it.
            const std::int64_t cuts[4] = {column, std::clamp(from, column, end),
                                          std::clamp(to, column, end), end};
            for (int k = 0; k < 3; ++k) {
                if (cuts[k + 1] > cuts[k])
                    next.push_back({cuts[k + 1] - cuts[k], r.depth + (k == 1 ? amount : 0)});
            }
            column = end;
        }
        runs = next;
    }
};

struct expected_square {
    std::int64_t column;
    std::int64_t top;
    std::int32_t side;
};

struct random_case {
    square_case c;
    std::vector<expected_square> squares;
};

// A case whose squares all fit the width and keep every coordinate and
// depth well inside 32 bits; the model places them as it goes.
random_case make_random_case(std::mt19937_64& random)
{
    random_case result;
    square_case& c = result.c;
    const int shape = static_cast<int>(random() % 3);
    c.width = shape == 0   ? 1 + static_cast<std::int32_t>(random() % 12)
              : shape == 1 ? 1 + static_cast<std::int32_t>(random() % 200)
                           : 1 + static_cast<std::int32_t>(random() % 2147483647);
    c.height = static_cast<std::int32_t>(random() % 2001) - 1000;
    if (random() % 4 == 0) c.height = static_cast<std::int32_t>(random() % (1u << 30)) - (1 << 29);
    const int count = static_cast<int>(random() % 40);
    run_model model(c.width);
    for (int i = 0; i < count; ++i) {
        const auto [column, depth] = model.lowest();
        const std::int64_t room = c.width - column;
        std::int64_t side =
            1 + static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(room));
        if (random() % 3 == 0) side = std::min<std::int64_t>(side, 1 + random() % 3);
        if (random() % 10 == 0) side = -static_cast<std::int64_t>(random() % 1000);
        if (random() % 40 == 0) side = -static_cast<std::int64_t>(random() % 2147483649u);
        if (random() % 10 == 0) side = 0;
        if (side > 0 && model.deepest_under(column, column + side) + side > (std::int64_t{1} << 30))
            side = 0;
        if (c.height - depth - side > std::numeric_limits<std::int32_t>::max()) side = 0;
        c.sides.push_back(static_cast<std::int32_t>(side));
        result.squares.push_back({column, c.height - depth, static_cast<std::int32_t>(side)});
        if (side > 0) model.raise(column, column + side, side);
    }
    c.count = static_cast<std::int32_t>(c.sides.size());
    return result;
}

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
