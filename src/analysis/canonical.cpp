#include "analysis/canonical.h"

#include <algorithm>
#include <charconv>
#include <numeric>

#include "analysis/code_rows.h"
#include "analysis/tiling_report.h"
#include "placement/place_squares.h"

namespace {

// One of the 8 rotations and reflections: `transpose` swaps x and y first,
// then `flip_x` and `flip_y` mirror the result.
struct orientation {
    bool transpose;
    bool flip_x;
    bool flip_y;
};

constexpr orientation orientations[8] = {
    {false, false, false}, {false, true, false}, {false, false, true}, {false, true, true},
    {true, false, false},  {true, true, false},  {true, false, true},  {true, true, true},
};

square_box turn(const square_box& s, const orientation& o, std::int64_t width, std::int64_t height)
{
    square_box t = s;
    if (o.transpose) {
        std::swap(t.x, t.y);
        std::swap(width, height);
    }
    if (o.flip_x) t.x = static_cast<std::int32_t>(width - t.x - t.side);
    if (o.flip_y) t.y = static_cast<std::int32_t>(height - t.y - t.side);
    return t;
}

// The squares turned, in code order: by the depth of their tops, then
// from left to right. `squares` come in that order already (the order of
// placement), so the identity keeps it and a mirror image left to right
// only reverses each level; the others are sorted, on one 64-bit key.
void turn_all(const std::vector<square_box>& squares, const orientation& o, std::int64_t width,
              std::int64_t height, std::vector<square_box>& turned)
{
    turned.clear();
    turned.reserve(squares.size());
    for (const square_box& s : squares) turned.push_back(turn(s, o, width, height));
    if (!o.transpose && !o.flip_y) {
        if (!o.flip_x) return;
        for (auto level = turned.begin(); level != turned.end();) {
            auto end = level;
            while (end != turned.end() && end->y == level->y) ++end;
            std::reverse(level, end);
            level = end;
        }
        return;
    }
    const auto key = [](const square_box& b) {
        return std::uint64_t{static_cast<std::uint32_t>(b.y)} << 32 |
               static_cast<std::uint32_t>(b.x);
    };
    std::sort(turned.begin(), turned.end(),
              [&](const square_box& a, const square_box& b) { return key(a) < key(b); });
}

// -1, 0 or 1 as the code of `a` is less than, equal to or greater than b's.
int compare_codes(const std::vector<square_box>& a, const std::vector<square_box>& b)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].side != b[i].side) return a[i].side < b[i].side ? -1 : 1;
    }
    return 0;
}

void append_number(std::string& out, std::int64_t n)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end);
}

}  // namespace

bool place_dissection(const square_case& c, canonical_scratch& scratch, std::string& problem)
{
    std::string failure;
    place_boxes(c, scratch.sky, scratch.squares, problem, failure);
    return problem.empty();
}

void append_canonical(const std::vector<square_box>& squares, std::int64_t width,
                      std::int64_t height, const std::string& caption, canonical_scratch& scratch,
                      std::string& out)
{
    // The first side of each orientation is its top-left corner square: only
    // the orientations whose corner square is largest can have the greatest
    // code, and in a perfect dissection that leaves one or two to sort.
    std::int64_t corner[8] = {};
    for (const square_box& s : squares) {
        const bool at_corner =
            (s.x == 0 || s.x + s.side == width) && (s.y == 0 || s.y + s.side == height);
        if (!at_corner) continue;
        for (int k = 0; k < 8; ++k) {
            const square_box t = turn(s, orientations[k], width, height);
            if (t.x == 0 && t.y == 0) corner[k] = s.side;
        }
    }
    const auto allowed = [&](int k) {
        return orientations[k].transpose ? height >= width : width >= height;
    };
    std::int64_t largest = 0;
    for (int k = 0; k < 8; ++k) {
        if (allowed(k)) largest = std::max(largest, corner[k]);
    }
    // Each code begins with the squares along its top edge, left to right:
    // comparing those rows first leaves, nearly always, one orientation to
    // sort. A row that is the beginning of another does not decide.
    std::vector<square_box>* rows = scratch.rows;
    bool alive[8] = {};
    for (int k = 0; k < 8; ++k) {
        alive[k] = allowed(k) && corner[k] == largest;
        if (!alive[k]) continue;
        rows[k].clear();
        for (const square_box& s : squares) {
            const square_box t = turn(s, orientations[k], width, height);
            if (t.y == 0) rows[k].push_back(t);
        }
        std::sort(rows[k].begin(), rows[k].end(),
                  [](const square_box& a, const square_box& b) { return a.x < b.x; });
    }
    for (int k = 0; k < 8; ++k) {
        for (int j = 0; j < 8 && alive[k]; ++j) {
            if (!alive[j] || j == k) continue;
            const std::size_t common = std::min(rows[k].size(), rows[j].size());
            for (std::size_t i = 0; i < common; ++i) {
                if (rows[k][i].side == rows[j][i].side) continue;
                if (rows[k][i].side < rows[j][i].side) alive[k] = false;
                break;
            }
        }
    }
    bool found = false;
    int chosen = 0;
    for (int k = 0; k < 8; ++k) {
        if (!alive[k]) continue;
        turn_all(squares, orientations[k], width, height, scratch.turned);
        if (!found || compare_codes(scratch.turned, scratch.best) > 0) {
            std::swap(scratch.turned, scratch.best);
            chosen = k;
            found = true;
        }
    }
    const std::vector<square_box>& code = scratch.best;
    std::int64_t divisor = 0;
    for (const square_box& s : code) {
        divisor = std::gcd(divisor, s.side);
        if (divisor == 1) break;
    }
    if (divisor == 0) divisor = 1;
    const bool across = orientations[chosen].transpose;

    append_number(out, static_cast<std::int64_t>(code.size()));
    out += ' ';
    append_number(out, (across ? height : width) / divisor);
    out += ' ';
    append_number(out, (across ? width : height) / divisor);
    out += ' ';
    for (std::size_t i = 0; i < code.size(); ++i) {
        const bool joined = i > 0 && continues_row(code[i - 1], code[i]);
        if (i > 0) out += joined ? ',' : ')';
        if (!joined) out += '(';
        append_number(out, code[i].side / divisor);
    }
    if (!code.empty()) out += ')';
    if (!caption.empty()) {
        out += " * ";
        out += caption;
    }
    out += '\n';
}

bool append_canonical_line(const square_case& c, canonical_scratch& scratch, std::string& out,
                           std::string& problem)
{
    if (!place_dissection(c, scratch, problem)) return false;
    append_canonical(scratch.squares, c.width, c.height, c.caption, scratch, out);
    return true;
}
