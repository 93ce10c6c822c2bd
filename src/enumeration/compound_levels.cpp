#include "enumeration/compound_levels.h"

#include "analysis/structure.h"
#include "enumeration/cnet_generator.h"
#include "enumeration/code_lines.h"
#include "enumeration/compound_build.h"
#include "squares.h"

namespace {

// The smallest perfect rectangle other than a square has 9 squares.
constexpr int least_perfect_piece = 9;
// A c-net has at least the tetrahedron's 6 edges.
constexpr int least_cnet_edges = 6;

std::vector<std::string> distinct(const std::string& text)
{
    std::vector<std::string> codes;
    for (const std::string_view line : sorted_lines({&text})) codes.emplace_back(line);
    return codes;
}

}  // namespace

// A compound perfect rectangle of order n is, at the top of its
// structure, two pieces along a full side (one of them a square when it is
// trivially compound), or a c-net whose edges are squares but one, a
// sub-rectangle of order >= 9 (two need n >= 21; this builds to order 20).
order_codes make_order(int order, perfect_levels& levels, bool keep)
{
    if (levels.of_order.size() < static_cast<std::size_t>(order))
        levels.of_order.resize(static_cast<std::size_t>(order));
    order_codes codes;
    codes.simple = order == 1 ? std::vector<std::string>{"1 1 1 (1)"} : simple_perfect_codes(order);
    std::string trivial;
    std::string nontrivial;
    canonical_scratch canonical;
    std::vector<square_box> scratch;
    const made_rectangle made = [&](const std::vector<square_box>& squares, std::int64_t width,
                                    std::int64_t height) {
        std::string& text = has_full_square(squares, width, height) ? trivial : nontrivial;
        append_canonical(squares, width, height, std::string(), canonical, text);
    };
    for (int a = 1; 2 * a <= order; ++a) {
        const int b = order - a;
        if (a != 1 && a < least_perfect_piece) continue;
        const std::vector<piece>& small = levels.of_order[static_cast<std::size_t>(a)];
        const std::vector<piece>& large = levels.of_order[static_cast<std::size_t>(b)];
        for (std::size_t i = 0; i < small.size(); ++i) {
            for (std::size_t j = a == b ? i : 0; j < large.size(); ++j)
                join_pieces(small[i], large[j], true, scratch, made);
        }
    }
    plane_darts darts;
    for (int edges = least_cnet_edges; order - edges + 2 >= least_perfect_piece; ++edges) {
        const std::vector<piece>& inner =
            levels.of_order[static_cast<std::size_t>(order - edges + 2)];
        if (inner.empty()) continue;
        for_each_cnet(edges, cnet_share{}, true, [&](const plane_graph& g) {
            trace_darts(g, darts);
            for (const element_network& net : element_networks(darts)) {
                for (const piece& p : inner) {
                    if (!fill_element(darts, net, p, true, scratch, made))
                        throw conversion_error("a compound rectangle of order " +
                                               std::to_string(order) +
                                               " leaves the 32-bit range of a side");
                }
            }
        });
    }
    codes.trivial = distinct(trivial);
    codes.nontrivial = distinct(nontrivial);
    if (keep) {
        std::vector<piece> all;
        for (const auto* part : {&codes.simple, &codes.trivial, &codes.nontrivial}) {
            for (const std::string& code : *part) all.push_back(piece_of_code(code, canonical));
        }
        levels.of_order.push_back(std::move(all));
    }
    return codes;
}
