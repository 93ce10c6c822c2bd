// The search by shapes against the levels that hold every rectangle, and
// two elements in the tetrahedron against the shape they were asked for,
// and the elements' networks from one adjugate against Cramer's rule.
#include <gtest/gtest.h>

#include <set>

#include "enumeration/cnet_generator.h"
#include "enumeration/compound_search.h"
#include "enumeration/element_potentials.h"

namespace {

shape shape_of_piece(const std::string& code)
{
    canonical_scratch scratch;
    const piece p = piece_of_code(code, scratch);
    return shape_of(p.width, p.height);
}

std::vector<std::string> of_shapes(const std::vector<std::string>& codes, const std::set<shape>& s)
{
    std::vector<std::string> kept;
    for (const std::string& code : codes)
        if (s.count(shape_of_piece(code)) != 0) kept.push_back(code);
    return kept;
}

TEST(CompoundSearch, FindsWhatTheLevelsFindOfTheShapesAsked)
{
    perfect_levels levels;
    order_codes all;
    for (int order = 1; order <= 15; ++order) all = make_order(order, levels, order < 15, 1);
    // Every 40th shape of each part: holding only orders up to 8, the search
    // streams and fills the pieces of 9 to 14 by the shapes they need.
    std::set<shape> shapes;
    for (const auto* part : {&all.trivial, &all.nontrivial}) {
        for (std::size_t i = 0; i < part->size(); i += 40)
            shapes.insert(shape_of_piece((*part)[i]));
    }
    shape_search_settings s;
    s.order = 15;
    s.shapes = shapes;
    s.held_order = 8;
    s.jobs = 2;
    s.with_simple = true;
    const order_codes got = compound_of_shapes(s);
    EXPECT_EQ(got.trivial, of_shapes(all.trivial, shapes));
    EXPECT_EQ(got.nontrivial, of_shapes(all.nontrivial, shapes));
    EXPECT_FALSE(got.nontrivial.empty());
    EXPECT_EQ(got.simple, of_shapes(all.simple, shapes));
}

TEST(CompoundSearch, TwoElementsInTheTetrahedronHaveTheShapeTheyWereAskedFor)
{
    perfect_levels levels;
    order_codes nine;
    for (int order = 1; order <= 9; ++order) nine = make_order(order, levels, true, 1);
    const std::vector<piece>& pieces = levels.of_order[9];
    ASSERT_EQ(pieces.size(), 2u);
    plane_darts d;
    for_each_cnet(6, cnet_share{}, true, [&](const plane_graph& g) { trace_darts(g, d); });
    canonical_scratch canonical;
    std::vector<square_box> scratch;
    int made_count = 0;
    for (int battery = 0; battery < 12; ++battery) {
        if (battery > d.reverse[battery]) continue;
        for (int e1 = 0; e1 < 12; ++e1) {
            for (int e2 = e1 + 1; e2 < 12; ++e2) {
                if (e1 > d.reverse[e1] || e2 > d.reverse[e2] || e1 == battery || e2 == battery)
                    continue;
                for (int way_a = 0; way_a < orientations; way_a += 3) {
                    for (int way_b = 0; way_b < orientations; way_b += 5) {
                        const made_rectangle made = [&](const std::vector<square_box>& squares,
                                                        std::int64_t w, std::int64_t h) {
                            ++made_count;
                            std::string code;
                            append_canonical(squares, w, h, std::string(), canonical, code);
                            code.pop_back();
                            // A dissection of 3 + 9 + 9 squares, as the check places it.
                            const piece whole = piece_of_code(code, canonical);
                            EXPECT_EQ(whole.squares.size(), 21u);
                            const piece& a = pieces[0];
                            const piece& b = pieces[1];
                            element_box box;
                            const std::int64_t aw = way_a & 4 ? a.height : a.width;
                            const std::int64_t ah = way_a & 4 ? a.width : a.height;
                            ASSERT_TRUE(needed_box(d, battery, {{e1, aw, ah}}, e2, w, h, box));
                            const std::int64_t bw = way_b & 4 ? b.height : b.width;
                            const std::int64_t bh = way_b & 4 ? b.width : b.height;
                            EXPECT_EQ(box.width * bh, box.height * bw);
                        };
                        ASSERT_TRUE(fill_elements(d, battery, {e1, e2}, {&pieces[0], &pieces[1]},
                                                  {way_a, way_b}, scratch, made));
                    }
                }
            }
        }
    }
    EXPECT_GT(made_count, 0);
}

// Each element's potentials, affine in its conductance, equal those solved
// by Cramer's rule at conductances 0 and 1, for every c-net to 12 edges.
TEST(CompoundSearch, ElementNetworksAreTheSolvedPotentials)
{
    int nets = 0;
    for (int edges = 6; edges <= 12; ++edges) {
        for_each_cnet(edges, cnet_share{}, false, [&](const plane_graph& g) {
            plane_darts d;
            trace_darts(g, d);
            for (const element_network& net : element_networks(d)) {
                std::vector<wide> conductance(d.head.size(), 1);
                wide det = 0;
                const std::vector<wide> at1 = element_potentials(d, net.battery, conductance, det);
                conductance[static_cast<std::size_t>(net.element)] = 0;
                const std::vector<wide> at0 = element_potentials(d, net.battery, conductance, det);
                for (std::size_t v = 0; v < at0.size(); ++v) {
                    ASSERT_EQ(net.base[v], static_cast<std::int64_t>(at0[v])) << edges;
                    ASSERT_EQ(net.slope[v], static_cast<std::int64_t>(at1[v] - at0[v])) << edges;
                }
                ++nets;
            }
        });
    }
    EXPECT_GT(nets, 1000);
}

}  // namespace
