#include "analysis/dissection_net.h"

#include <algorithm>
#include <tuple>

#include "analysis/canonical.h"
#include "analysis/simple_test.h"

const char planar_code_header[] = ">>planar_code le<<";

namespace {

using segment = dissection_net::segment;

// The node whose segment holds the point (y, x) of a square's edge.
int node_at(const std::vector<segment>& nodes, std::int64_t y, std::int64_t x)
{
    const auto after =
        std::upper_bound(nodes.begin(), nodes.end(), std::make_pair(y, x),
                         [](const std::pair<std::int64_t, std::int64_t>& p, const segment& s) {
                             return p < std::make_pair(s.y, s.left);
                         });
    return static_cast<int>(after - nodes.begin()) - 1;
}

void put_number(std::string& out, int value, bool wide)
{
    if (wide) out += static_cast<char>(value & 0xff);
    out += static_cast<char>(wide ? value >> 8 : value);
}

}  // namespace

dissection_net net_of(const std::vector<square_box>& squares, std::int64_t width,
                      std::int64_t height)
{
    // Every square's top edge lies on a segment, and the bottom pole is
    // made of the bottom edges of the squares along the rectangle's foot.
    std::vector<segment> edges;
    edges.reserve(squares.size() + 1);
    for (const square_box& s : squares) {
        edges.push_back({s.y, s.x, std::int64_t{s.x} + s.side});
        if (std::int64_t{s.y} + s.side == height)
            edges.push_back({height, s.x, std::int64_t{s.x} + s.side});
    }
    std::sort(edges.begin(), edges.end(), [](const segment& a, const segment& b) {
        return std::tie(a.y, a.left) < std::tie(b.y, b.left);
    });
    dissection_net net;
    for (const segment& e : edges) {
        // Edges that meet end to end on one level are one segment.
        if (!net.nodes.empty() && net.nodes.back().y == e.y && e.left <= net.nodes.back().right) {
            net.nodes.back().right = std::max(net.nodes.back().right, e.right);
        } else {
            net.nodes.push_back(e);
        }
    }
    if (net.nodes.empty()) net.nodes.push_back({0, 0, width});
    const std::size_t n = net.nodes.size();
    // Along each node: the squares above it (their bottoms on it) and those
    // below it (their tops on it), by x.
    std::vector<std::vector<std::pair<std::int64_t, int>>> above(n), below(n);
    net.top.resize(squares.size());
    net.bottom.resize(squares.size());
    for (std::size_t i = 0; i < squares.size(); ++i) {
        const square_box& s = squares[i];
        net.top[i] = node_at(net.nodes, s.y, s.x);
        net.bottom[i] = node_at(net.nodes, std::int64_t{s.y} + s.side, s.x);
        below[static_cast<std::size_t>(net.top[i])].emplace_back(s.x, net.bottom[i]);
        above[static_cast<std::size_t>(net.bottom[i])].emplace_back(s.x, net.top[i]);
    }
    // Clockwise round a segment drawn with y down: along its upper side
    // from left to right, then back along its lower side. The battery
    // leaves both poles at their right ends and runs round the rectangle's
    // right side.
    const int last = static_cast<int>(n) - 1;
    net.rotation.resize(n);
    for (std::size_t v = 0; v < n; ++v) {
        std::vector<int>& around = net.rotation[v];
        std::sort(above[v].begin(), above[v].end());
        std::sort(below[v].begin(), below[v].end());
        for (const auto& a : above[v]) around.push_back(a.second);
        if (v == n - 1 && last > 0) around.push_back(0);
        if (v == 0 && last > 0) around.push_back(last);
        for (auto b = below[v].rbegin(); b != below[v].rend(); ++b) around.push_back(b->second);
    }
    return net;
}

void append_planar_code(const dissection_net& net, std::string& out)
{
    const int n = static_cast<int>(net.nodes.size());
    // Past 255 nodes, the 2-byte form the header's byte order names.
    const bool wide = n > 255;
    if (wide) put_number(out, 0, false);
    put_number(out, n, wide);
    for (const std::vector<int>& around : net.rotation) {
        for (const int w : around) put_number(out, w + 1, wide);
        put_number(out, 0, wide);
    }
}

std::string append_graph6(const std::vector<std::vector<int>>& neighbours, std::string& out)
{
    const std::size_t n = neighbours.size();
    if (n > graph6_nodes) {
        return "the network has " + std::to_string(n) + " nodes, past the " +
               std::to_string(graph6_nodes) + " graph6 is written for; -f planar_code writes it";
    }
    const auto put_bits = [&out](std::uint64_t value, int bits) {
        for (int shift = bits - 6; shift >= 0; shift -= 6)
            out += static_cast<char>(63 + ((value >> shift) & 63));
    };
    if (n <= 62) {
        put_bits(n, 6);
    } else {
        out += '~';
        put_bits(n, 18);
    }
    // The upper triangle column by column, six bits a character.
    std::vector<std::uint8_t> adjacent(n * (n - 1) / 2);
    const auto index = [](std::size_t i, std::size_t j) { return j * (j - 1) / 2 + i; };
    for (std::size_t v = 0; v < n; ++v) {
        for (const int w : neighbours[v]) {
            const std::size_t u = static_cast<std::size_t>(w);
            if (u <= v) continue;
            if (adjacent[index(v, u)] != 0) {
                return "the network has parallel edges, which graph6 cannot hold; -f "
                       "planar_code writes them";
            }
            adjacent[index(v, u)] = 1;
        }
    }
    unsigned bits = 0;
    int used = 0;
    for (const std::uint8_t a : adjacent) {
        bits = bits << 1 | a;
        if (++used == 6) {
            out += static_cast<char>(63 + bits);
            bits = 0;
            used = 0;
        }
    }
    if (used > 0) out += static_cast<char>(63 + (bits << (6 - used)));
    out += '\n';
    return "";
}

bool append_net(const square_case& c, bool graph6, canonical_scratch& scratch,
                check_workspace& work, std::string& out, std::string& problem, std::string& warning)
{
    if (!place_dissection(c, scratch, problem)) {
        problem = "not a dissection: " + problem;
        return false;
    }
    const dissection_net net = net_of(scratch.squares, c.width, c.height);
    if (graph6) {
        problem = append_graph6(net.rotation, out);
        if (!problem.empty()) return false;
    } else {
        append_planar_code(net, out);
    }
    // Tutte: the network of a simple dissection is 3-connected.
    if (has_inner_rectangle(scratch.squares, c.width, c.height, work)) {
        warning = "the dissection is compound: its network is 2-connected, not 3-connected";
    }
    return true;
}

void append_line_with_net(std::string_view line, canonical_scratch& scratch, check_workspace& work,
                          std::string& out)
{
    // A code is its order, width and height, then the sides in brackets
    // level by level, in the order they are placed.
    std::vector<std::int64_t> numbers;
    std::int64_t value = -1;
    for (const char ch : line) {
        if (ch >= '0' && ch <= '9') {
            value = (value < 0 ? 0 : value * 10) + (ch - '0');
        } else if (value >= 0) {
            numbers.push_back(value);
            value = -1;
        }
    }
    if (value >= 0) numbers.push_back(value);
    out += line;
    if (numbers.size() < 3) return;
    square_case c;
    c.count = static_cast<std::int32_t>(numbers[0]);
    c.width = static_cast<std::int32_t>(numbers[1]);
    c.height = static_cast<std::int32_t>(numbers[2]);
    c.sides.assign(numbers.begin() + 3, numbers.end());
    std::string net;
    std::string problem;
    std::string warning;
    if (!append_net(c, true, scratch, work, net, problem, warning)) return;
    net.pop_back();  // its line end
    // The node count, as graph6 begins: one character, or ~ and three.
    const auto digit = [&net](std::size_t i) { return static_cast<std::size_t>(net[i] - 63); };
    const std::size_t nodes = net[0] != '~' ? digit(0) : digit(1) << 12 | digit(2) << 6 | digit(3);
    out += " * " + net + " 0 " + std::to_string(nodes - 1);
}
