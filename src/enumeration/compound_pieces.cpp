#include "enumeration/compound_pieces.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "enumeration/cnet_generator.h"
#include "enumeration/code_lines.h"
#include "enumeration/on_threads.h"
#include "enumeration/solve_graph.h"

namespace {

// The second and third numbers of a code: its width and height.
shape shape_of_code(std::string_view code)
{
    std::int64_t v[3] = {0, 0, 0};
    int at = 0;
    bool in = false;
    for (const char ch : code) {
        if (ch >= '0' && ch <= '9') {
            v[at] = v[at] * 10 + (ch - '0');
            in = true;
        } else if (in) {
            in = false;
            if (++at == 3) break;
        }
    }
    return shape_of(v[1], v[2]);
}

// The simple perfect rectangles of an order that are of the kinds wanted
// and, when `shapes` is given, of one of its shapes, in the catalogue's
// order; the c-nets dealt out among `jobs` threads. A c-net and its dual
// give the same rectangles turned: the generator leaves out one of each
// pair, the dedupe the rest.
std::vector<std::string> solved_codes(int order, const bool (&wanted)[kinds],
                                      const std::set<shape>* shapes, int jobs)
{
    if (order + 1 < 6) return {};
    const int threads = std::max(1, jobs);
    std::vector<std::string> texts(static_cast<std::size_t>(threads));
    on_threads(threads, [&](int t) {
        solve_scratch scratch;
        std::string problem;
        for_each_cnet(order + 1, cnet_share{t + 1, threads}, true, [&](const plane_graph& g) {
            trace_darts(g, scratch.darts);
            found_codes found;
            if (!solve_cnet(scratch, wanted, false, found, problem))
                throw std::logic_error(problem);
            for (const int kind : {perfect_oblong, perfect_square}) {
                const std::string& lines = found.lines[kind];
                for (std::size_t at = 0; at < lines.size();) {
                    const std::size_t end = lines.find('\n', at);
                    const std::string_view line(lines.data() + at, end - at);
                    if (!shapes || shapes->count(shape_of_code(line)) != 0) {
                        texts[t] += line;
                        texts[t] += '\n';
                    }
                    at = end + 1;
                }
            }
        });
    });
    std::vector<const std::string*> all;
    for (const std::string& t : texts) all.push_back(&t);
    std::vector<std::string> codes;
    for (const std::string_view line : sorted_lines(all)) codes.emplace_back(line);
    return codes;
}

}  // namespace

void place_piece(const piece& p, int way, std::int64_t scale, std::int64_t dx, std::int64_t dy,
                 std::vector<square_box>& out)
{
    for (const square_box& s : p.squares) {
        std::int64_t x = (way & 1) ? p.width - s.x - s.side : s.x;
        std::int64_t y = (way & 2) ? p.height - s.y - s.side : s.y;
        if (way & 4) std::swap(x, y);
        out.push_back({static_cast<std::int32_t>(dx + x * scale),
                       static_cast<std::int32_t>(dy + y * scale),
                       static_cast<std::int32_t>(s.side * scale)});
    }
}

piece piece_of_code(std::string_view code, canonical_scratch& scratch)
{
    square_case c;
    std::vector<std::int64_t> values;
    std::int64_t value = -1;
    for (const char ch : code) {
        if (ch == '*') break;
        if (ch >= '0' && ch <= '9') {
            value = (value < 0 ? 0 : value * 10) + (ch - '0');
            continue;
        }
        if (value >= 0) values.push_back(value);
        value = -1;
    }
    if (value >= 0) values.push_back(value);
    if (values.size() < 3 || values.size() != static_cast<std::size_t>(values[0]) + 3)
        throw std::logic_error("not a code: " + std::string(code));
    c.count = static_cast<std::int32_t>(values[0]);
    c.width = static_cast<std::int32_t>(values[1]);
    c.height = static_cast<std::int32_t>(values[2]);
    for (std::size_t i = 3; i < values.size(); ++i)
        c.sides.push_back(static_cast<std::int32_t>(values[i]));
    c.sides_given = c.count;
    std::string problem;
    if (!place_dissection(c, scratch, problem))
        throw std::logic_error("not a dissection: " + std::string(code) + ": " + problem);
    return {c.width, c.height, scratch.squares};
}

std::vector<std::string> simple_perfect_codes(int order)
{
    return solved_codes(order, {true, true, false, false}, nullptr, 1);
}

shape shape_of(std::int64_t width, std::int64_t height)
{
    const std::int64_t g = std::gcd(width, height);
    return {std::max(width, height) / g, std::min(width, height) / g};
}

std::vector<std::string> simple_of_shapes(int order, const std::set<shape>& shapes, int jobs)
{
    if (shapes.empty()) return {};
    // Squares alone go through the squares screen, which solves few c-nets.
    const bool squares = shapes.size() == 1 && shapes.begin()->first == shapes.begin()->second;
    return solved_codes(order, {!squares, true, false, false}, &shapes, jobs);
}
