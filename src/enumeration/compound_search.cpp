#include "enumeration/compound_search.h"

#include <algorithm>
#include <deque>
#include <map>
#include <stdexcept>

#include "analysis/structure.h"
#include "enumeration/cnet_generator.h"
#include "enumeration/code_lines.h"
#include "enumeration/element_potentials.h"
#include "enumeration/on_threads.h"

namespace {

constexpr int least_perfect_piece = 9;
constexpr int least_cnet_edges = 6;
// Three elements need 6 - 1 - 3 + 3 * 9 = 29 squares or more.
constexpr int most_order = 28;

// The two ways a rectangle of a shape can stand, as width and height.
std::vector<std::pair<std::int64_t, std::int64_t>> standings(const shape& s)
{
    if (s.first == s.second) return {s};
    return {s, {s.second, s.first}};
}

struct cnet_of {
    plane_darts darts;
    std::vector<element_network> nets;
};

class search {
public:
    explicit search(const shape_search_settings& s)
        : s_(s),
          held_(std::min(s.held_order, s.order - 1)),
          wanted_(s.order + 1),
          found_(s.order + 1),
          index_(s.order + 1)
    {
        if (s.order > most_order)
            throw std::invalid_argument("the shape search makes orders up to " +
                                        std::to_string(most_order));
        if (2 * held_ < s.order && held_ < s.order - 1)
            throw std::invalid_argument("the shape search holds too few orders");
        for (int k = 1; k <= held_; ++k) make_order(k, levels_, true, s.jobs);
        for (int k = 1; k <= held_; ++k) index_order(k);
        wanted_[s.order] = s.shapes;
    }

    order_codes run()
    {
        for (int k = s_.order; k > held_; --k) {
            if (!wanted_[k].empty()) spread(k);
        }
        order_codes top;
        for (int k = held_ + 1; k <= s_.order; ++k) {
            if (wanted_[k].empty()) continue;
            order_codes codes = make(k);
            if (k == s_.order) {
                top = std::move(codes);
                break;
            }
            canonical_scratch canonical;
            for (const auto* part : {&codes.simple, &codes.trivial, &codes.nontrivial}) {
                for (const std::string& code : *part)
                    found_[k].push_back(piece_of_code(code, canonical));
            }
            index_order(k);
        }
        return top;
    }

private:
    const std::vector<piece>& pieces(int k) const
    {
        return k <= held_ ? levels_.of_order[static_cast<std::size_t>(k)] : found_[k];
    }

    void index_order(int k)
    {
        for (const piece& p : pieces(k)) index_[k][shape_of(p.width, p.height)].push_back(&p);
    }

    const std::vector<const piece*>& of_shape(int k, const shape& sh) const
    {
        static const std::vector<const piece*> none;
        const auto it = index_[k].find(sh);
        return it == index_[k].end() ? none : it->second;
    }

    const std::deque<cnet_of>& cnets(int edges)
    {
        auto it = cnets_.find(edges);
        if (it != cnets_.end()) return it->second;
        std::deque<cnet_of>& list = cnets_[edges];
        for_each_cnet(edges, cnet_share{}, true, [&](const plane_graph& g) {
            list.emplace_back();
            trace_darts(g, list.back().darts);
            list.back().nets = element_networks(list.back().darts);
        });
        return list;
    }

    // The shape B must have below A turned as (aw, ah) for the whole to be
    // width x height: the heights at a common width add up.
    static bool below(std::int64_t aw, std::int64_t ah, std::int64_t width, std::int64_t height,
                      shape& out)
    {
        const std::int64_t bh = height * aw - ah * width;
        if (bh <= 0) return false;
        out = shape_of(width * aw, bh);
        return true;
    }

    template <class Each>
    void joins(int k, const Each& each) const
    {
        for (int a = 1; 2 * a <= k; ++a) {
            if (a != 1 && a < least_perfect_piece) continue;
            for (const piece& p : pieces(a)) {
                for (const shape& whole : wanted_[k]) {
                    for (const auto& [width, height] : standings(whole)) {
                        shape b;
                        if (below(p.width, p.height, width, height, b)) each(a, p, k - a, b);
                        if (below(p.height, p.width, width, height, b)) each(a, p, k - a, b);
                    }
                }
            }
        }
    }

    template <class Each>
    void fills(int k, const Each& each)
    {
        for (int edges = least_cnet_edges; k - edges + 2 >= least_perfect_piece; ++edges) {
            const int inner = k - edges + 2;
            if (pieces_needed_only_if_high_ && inner <= held_) continue;
            for (const cnet_of& c : cnets(edges)) {
                for (const element_network& net : c.nets) {
                    for (const shape& whole : wanted_[k]) {
                        for (const auto& [width, height] : standings(whole)) {
                            shape need;
                            std::int64_t w = 0;
                            std::int64_t h = 0;
                            if (needed_of_net(c.darts, net, width, height, need, w, h))
                                each(inner, c, net, need);
                        }
                    }
                }
            }
        }
    }

    // What the parts of the rectangles of order k must be, for the orders
    // not held.
    void spread(int k)
    {
        joins(k, [&](int, const piece&, int b_order, const shape& b) {
            if (b_order > held_) wanted_[b_order].insert(b);
        });
        pieces_needed_only_if_high_ = true;
        fills(k, [&](int inner, const cnet_of&, const element_network&, const shape& need) {
            wanted_[inner].insert(need);
        });
        pieces_needed_only_if_high_ = false;
        for (int edges = least_cnet_edges; k - edges + 3 >= 2 * least_perfect_piece; ++edges) {
            if (k - edges + 3 - least_perfect_piece > held_)
                throw std::invalid_argument("two elements need pieces above the orders held");
        }
    }

    order_codes make(int k)
    {
        order_codes codes;
        if (k < s_.order || s_.with_simple) codes.simple = simple_of_shapes(k, wanted_[k], s_.jobs);
        canonical_scratch canonical;
        std::vector<square_box> scratch;
        std::string trivial;
        std::string nontrivial;
        const made_rectangle made = [&](const std::vector<square_box>& squares, std::int64_t width,
                                        std::int64_t height) {
            if (wanted_[k].count(shape_of(width, height)) == 0) return;
            std::string& text = has_full_square(squares, width, height) ? trivial : nontrivial;
            append_canonical(squares, width, height, std::string(), canonical, text);
        };
        if (k == s_.order) {
            top_fills(k, trivial, nontrivial);
            if (s_.part.k != 1) {
                codes.trivial = distinct(trivial);
                codes.nontrivial = distinct(nontrivial);
                codes.too_large = too_large_;
                return codes;
            }
        }
        joins(k, [&](int, const piece& a, int b_order, const shape& b) {
            for (const piece* p : of_shape(b_order, b)) join_pieces(a, *p, true, scratch, made);
        });
        if (k < s_.order) {
            fills(k,
                  [&](int inner, const cnet_of& c, const element_network& net, const shape& need) {
                      too_large_ +=
                          fill_with(c.darts, net, of_shape(inner, need), wanted_[k], scratch, made);
                  });
        }
        for (int edges = least_cnet_edges; k - edges + 3 >= 2 * least_perfect_piece; ++edges)
            two_elements(k, edges, scratch, made);
        codes.trivial = distinct(trivial);
        codes.nontrivial = distinct(nontrivial);
        codes.too_large = too_large_;
        return codes;
    }

    // How many leave the 32-bit range of a side.
    static std::size_t fill_with(const plane_darts& d, const element_network& net,
                                 const std::vector<const piece*>& inner,
                                 const std::set<shape>& wanted, std::vector<square_box>& scratch,
                                 const made_rectangle& made)
    {
        std::size_t too_large = 0;
        for (const piece* p : inner) {
            if (!fill_element(d, net, *p, true, scratch, made, &wanted)) ++too_large;
        }
        return too_large;
    }

    // The one-element fills of the order asked for, most of its work: the
    // c-nets streamed (the largest are too many to hold with their
    // networks), this run's share of them dealt out among the threads.
    void top_fills(int k, std::string& trivial, std::string& nontrivial)
    {
        const int threads = std::max(1, s_.jobs);
        struct found {
            std::string trivial;
            std::string nontrivial;
            std::size_t too_large = 0;
        };
        std::vector<found> out(static_cast<std::size_t>(threads));
        on_threads(threads, [&](int t) {
            found& f = out[static_cast<std::size_t>(t)];
            {
                canonical_scratch canonical;
                std::vector<square_box> scratch;
                plane_darts d;
                const made_rectangle made = [&](const std::vector<square_box>& squares,
                                                std::int64_t width, std::int64_t height) {
                    if (wanted_[k].count(shape_of(width, height)) == 0) return;
                    std::string& text =
                        has_full_square(squares, width, height) ? f.trivial : f.nontrivial;
                    append_canonical(squares, width, height, std::string(), canonical, text);
                };
                const cnet_share share{(s_.part.k - 1) * threads + t + 1, s_.part.n * threads};
                for (int edges = least_cnet_edges; k - edges + 2 >= least_perfect_piece; ++edges) {
                    const int inner = k - edges + 2;
                    if (pieces(inner).empty()) continue;
                    for_each_cnet(edges, share, true, [&](const plane_graph& g) {
                        trace_darts(g, d);
                        for (const element_network& net : element_networks(d)) {
                            for (const shape& whole : wanted_[k]) {
                                for (const auto& [width, height] : standings(whole)) {
                                    shape need;
                                    std::int64_t w = 0;
                                    std::int64_t h = 0;
                                    if (needed_of_net(d, net, width, height, need, w, h))
                                        f.too_large += fill_with(d, net, of_shape(inner, need),
                                                                 wanted_[k], scratch, made);
                                }
                            }
                        }
                    });
                }
            }
        });
        for (const found& f : out) {
            trivial += f.trivial;
            nontrivial += f.nontrivial;
            too_large_ += f.too_large;
        }
    }

    void two_elements(int k, int edges, std::vector<square_box>& scratch,
                      const made_rectangle& made)
    {
        const int total = k - edges + 3;
        for (const cnet_of& c : cnets(edges)) {
            const plane_darts& d = c.darts;
            const int darts = static_cast<int>(d.head.size());
            for (int battery = 0; battery < darts; ++battery) {
                if (battery > d.reverse[battery]) continue;
                for (int e1 = 0; e1 < darts; ++e1) {
                    if (e1 > d.reverse[e1] || e1 == battery) continue;
                    for (int e2 = e1 + 1; e2 < darts; ++e2) {
                        if (e2 > d.reverse[e2] || e2 == battery) continue;
                        for (int k1 = least_perfect_piece; total - k1 >= least_perfect_piece; ++k1)
                            pair_up(k, d, battery, e1, e2, k1, total - k1, scratch, made);
                    }
                }
            }
        }
    }

    void pair_up(int k, const plane_darts& d, int battery, int e1, int e2, int k1, int k2,
                 std::vector<square_box>& scratch, const made_rectangle& made)
    {
        for (const piece& a : pieces(k1)) {
            for (const int shape_way : {0, 4}) {
                const std::int64_t aw = shape_way ? a.height : a.width;
                const std::int64_t ah = shape_way ? a.width : a.height;
                for (const shape& whole : wanted_[k]) {
                    for (const auto& [width, height] : standings(whole)) {
                        element_box box;
                        if (!needed_box(d, battery, {{e1, aw, ah}}, e2, width, height, box))
                            continue;
                        for (const piece* b : of_shape(k2, shape_of(box.width, box.height))) {
                            for (int way_b = 0; way_b < orientations; ++way_b) {
                                const std::int64_t bw = way_b & 4 ? b->height : b->width;
                                if (bw * box.height !=
                                    box.width * (way_b & 4 ? b->width : b->height))
                                    continue;
                                for (int way_a = shape_way; way_a < shape_way + 4; ++way_a) {
                                    if (!fill_elements(d, battery, {e1, e2}, {&a, b},
                                                       {way_a, way_b}, scratch, made))
                                        ++too_large_;
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    static std::vector<std::string> distinct(const std::string& text)
    {
        std::vector<std::string> codes;
        for (const std::string_view line : sorted_lines({&text})) codes.emplace_back(line);
        return codes;
    }

    const shape_search_settings& s_;
    int held_;
    perfect_levels levels_;
    std::vector<std::set<shape>> wanted_;
    std::vector<std::vector<piece>> found_;
    std::vector<std::map<shape, std::vector<const piece*>>> index_;
    std::map<int, std::deque<cnet_of>> cnets_;
    bool pieces_needed_only_if_high_ = false;
    std::size_t too_large_ = 0;  // of every order so far
};

}  // namespace

order_codes compound_of_shapes(const shape_search_settings& s)
{
    return search(s).run();
}
