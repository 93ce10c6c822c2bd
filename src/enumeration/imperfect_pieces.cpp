#include "enumeration/imperfect_pieces.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "enumeration/cnet_generator.h"
#include "enumeration/code_lines.h"
#include "enumeration/on_threads.h"
#include "enumeration/solve_graph.h"

namespace {

std::vector<std::string> distinct(const std::vector<std::string>& texts)
{
    std::vector<const std::string*> all;
    for (const std::string& t : texts) all.push_back(&t);
    std::vector<std::string> codes;
    for (const std::string_view line : sorted_lines(all)) codes.emplace_back(line);
    return codes;
}

// The ways of `p` that place its squares differently from every way before.
std::uint8_t distinct_ways(const piece& p)
{
    std::vector<std::vector<square_box>> seen;
    std::uint8_t ways = 0;
    for (int way = 0; way < orientations; ++way) {
        std::vector<square_box> placed;
        place_piece(p, way, 1, 0, 0, placed);
        std::sort(placed.begin(), placed.end(), [](const square_box& a, const square_box& b) {
            return a.y != b.y ? a.y < b.y : a.x < b.x;
        });
        const auto same = [&](const std::vector<square_box>& other) {
            return std::equal(placed.begin(), placed.end(), other.begin(),
                              [](const square_box& a, const square_box& b) {
                                  return a.x == b.x && a.y == b.y && a.side == b.side;
                              });
        };
        if (std::none_of(seen.begin(), seen.end(), same)) ways |= std::uint8_t(1u << way);
        seen.push_back(std::move(placed));
    }
    return ways;
}

}  // namespace

void add_order(const std::vector<const std::vector<std::string>*>& codes, any_levels& levels)
{
    canonical_scratch canonical;
    std::vector<piece> pieces;
    for (const std::vector<std::string>* part : codes) {
        for (const std::string& code : *part) pieces.push_back(piece_of_code(code, canonical));
    }
    std::map<shape, std::size_t> at;
    std::vector<shape_group> groups;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const shape s = shape_of(pieces[i].width, pieces[i].height);
        const auto found = at.emplace(s, groups.size());
        if (found.second) groups.push_back({s.first, s.second, {}});
        groups[found.first->second].pieces.push_back(static_cast<std::uint32_t>(i));
    }
    std::vector<std::uint8_t> ways;
    for (const piece& p : pieces) ways.push_back(distinct_ways(p));
    levels.ways_of_order.push_back(std::move(ways));
    levels.of_order.push_back(std::move(pieces));
    levels.shapes_of_order.push_back(std::move(groups));
}

cnet_codes codes_of_cnets(int order, int jobs)
{
    cnet_codes codes;
    if (order + 1 < 6) return codes;
    const int threads = std::max(1, jobs);
    std::vector<std::string> perfect(static_cast<std::size_t>(threads));
    std::vector<std::string> imperfect(static_cast<std::size_t>(threads));
    std::vector<std::string> crossed(static_cast<std::size_t>(threads));
    on_threads(threads, [&](int t) {
        solve_scratch scratch;
        scratch.keep_crossed_compound = true;
        std::string problem;
        const bool every_kind[kinds] = {true, true, true, true};
        for_each_cnet(order + 1, cnet_share{t + 1, threads}, true, [&](const plane_graph& g) {
            trace_darts(g, scratch.darts);
            found_codes found;
            if (!solve_cnet(scratch, every_kind, false, found, problem))
                throw std::logic_error(problem);
            perfect[t] += found.lines[perfect_oblong] + found.lines[perfect_square];
            imperfect[t] += found.lines[imperfect_oblong] + found.lines[imperfect_square];
            crossed[t] += found.crossed_compound;
        });
    });
    codes.simple_perfect = distinct(perfect);
    codes.simple_imperfect = distinct(imperfect);
    codes.crossed_compound = distinct(crossed);
    return codes;
}
