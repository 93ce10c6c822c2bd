#include "enumeration/element_fill.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "enumeration/element_potentials.h"

namespace {

// Past this the products of the layout could leave 128 bits.
constexpr wide most_layout = wide{1} << 62;

bool fits(wide v) { return v >= -most_layout && v <= most_layout; }

}  // namespace

elements_network network_of_elements(const plane_darts& d, int battery,
                                     const std::vector<int>& edges)
{
    elements_network net;
    net.battery = battery;
    net.edges = edges;
    net.vertices = static_cast<int>(d.first.size()) - 1;
    const std::size_t k = edges.size();
    const std::size_t subsets = std::size_t{1} << k;
    const std::size_t vertices = static_cast<std::size_t>(net.vertices);
    // The values at each 0/1 assignment, then their Moebius transform.
    std::vector<wide> value(subsets * vertices);
    std::vector<wide> g(d.head.size(), 1);
    for (std::size_t s = 0; s < subsets; ++s) {
        for (std::size_t i = 0; i < k; ++i)
            g[static_cast<std::size_t>(edges[i])] = (s >> i) & 1 ? 1 : 0;
        wide det = 0;
        const std::vector<wide> p = element_potentials(d, battery, g, det);
        for (std::size_t v = 0; v < vertices; ++v) value[s * vertices + v] = p[v];
    }
    for (std::size_t i = 0; i < k; ++i) {
        for (std::size_t s = 0; s < subsets; ++s) {
            if ((s >> i) & 1) {
                for (std::size_t v = 0; v < vertices; ++v)
                    value[s * vertices + v] -= value[(s ^ (std::size_t{1} << i)) * vertices + v];
            }
        }
    }
    for (const wide c : value) {
        if (c > std::numeric_limits<std::int64_t>::max() ||
            c < std::numeric_limits<std::int64_t>::min())
            throw std::logic_error("a c-net's potentials leave 64 bits");
        net.coef.push_back(static_cast<std::int64_t>(c));
    }
    return net;
}

bool lay_out_elements(const plane_darts& d, const elements_network& net,
                      const std::vector<std::pair<std::int64_t, std::int64_t>>& boxes,
                      element_layout& out)
{
    const std::size_t k = net.edges.size();
    const std::size_t vertices = static_cast<std::size_t>(net.vertices);
    // With c_i = w_i / h_i, the potentials times the product of the h_i.
    std::vector<wide> pot(vertices, 0);
    for (std::size_t s = 0; s < (std::size_t{1} << k); ++s) {
        wide product = 1;
        for (std::size_t i = 0; i < k; ++i)
            product *= (s >> i) & 1 ? boxes[i].first : boxes[i].second;
        for (std::size_t v = 0; v < vertices; ++v)
            pot[v] += product * net.coef[s * vertices + v];
    }
    wide common = 0;
    for (const wide p : pot) common = wide_gcd(common, p);
    if (common == 0) return false;
    for (wide& p : pot) p /= common;
    const int darts = static_cast<int>(d.head.size());
    const int battery = net.battery;
    const int battery_back = d.reverse[battery];
    std::vector<int> element(static_cast<std::size_t>(darts), -1);
    for (std::size_t i = 0; i < k; ++i) {
        element[static_cast<std::size_t>(net.edges[i])] = static_cast<int>(i);
        element[static_cast<std::size_t>(d.reverse[net.edges[i]])] = static_cast<int>(i);
    }
    const auto drop = [&](int e) { return pot[d.tail[e]] - pot[d.head[e]]; };
    for (int e = 0; e < darts; ++e) {
        if (e != battery && e != battery_back && drop(e) == 0) return false;
    }
    // A common multiple that makes every element's width whole.
    wide scale = 1;
    for (std::size_t i = 0; i < k; ++i) {
        const wide h = boxes[i].second;
        const wide need = h / wide_gcd(h, drop(net.edges[i]));
        scale = scale / wide_gcd(scale, need) * need;
        if (!fits(scale)) return false;
    }
    const auto current = [&](int e) {
        const int i = element[static_cast<std::size_t>(e)];
        const wide scaled = scale * drop(e);
        return i < 0 ? scaled
                     : scaled / boxes[static_cast<std::size_t>(i)].second *
                           boxes[static_cast<std::size_t>(i)].first;
    };
    std::vector<wide> x(static_cast<std::size_t>(d.faces), 0);
    std::vector<char> seen;
    std::vector<int> stack;
    const wide left = walk_faces(d, battery, current, x, seen, stack);
    wide width = 0;
    for (int f = 0; f < d.faces; ++f) width = std::max(width, x[f] - left);
    const int top = d.tail[battery];
    const wide height = scale * (pot[top] - pot[d.head[battery]]);
    if (!fits(width) || !fits(height)) return false;
    out.squares.clear();
    out.elements.assign(k, laid_box{});
    out.width = static_cast<std::int64_t>(width);
    out.height = static_cast<std::int64_t>(height);
    for (int e = 0; e < darts; ++e) {
        if (e > d.reverse[e] || e == battery || e == battery_back) continue;
        const wide fall = drop(e);
        const int upper = fall > 0 ? d.tail[e] : d.head[e];
        const wide size = scale * (fall > 0 ? fall : -fall);
        laid_box b{static_cast<std::int64_t>(std::min(x[d.face[e]], x[d.face[d.reverse[e]]]) - left),
                   static_cast<std::int64_t>(scale * (pot[top] - pot[upper])), 0};
        const int i = element[static_cast<std::size_t>(e)];
        if (i < 0) {
            b.side = static_cast<std::int64_t>(size);
            out.squares.push_back(b);
        } else {
            b.side = static_cast<std::int64_t>(size / boxes[static_cast<std::size_t>(i)].second);
            out.elements[static_cast<std::size_t>(i)] = b;
        }
    }
    return true;
}
