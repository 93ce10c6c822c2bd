#include "enumeration/canonical_code.h"

namespace cnet {

namespace {

// One walk from dart `start`, clockwise or not. Returns -1 if it is less
// than `best` (then written to `code`), 0 if equal, 1 if greater (and
// abandoned). `best_length` 0 means there is no best yet.
int walk(const embedding& g, int start, bool clockwise, const std::uint8_t* best, int best_length,
         std::uint8_t* code, std::uint8_t* label) {
    const std::uint8_t* turn = clockwise ? g.next : g.prev;
    std::uint8_t first_dart[max_vertices];
    std::uint8_t order[max_vertices];
    for (int v = 0; v < g.nv; ++v) label[v] = 0xff;
    int numbered = 0;
    const int s = tail(g, start);
    label[s] = 0;
    first_dart[s] = static_cast<std::uint8_t>(start);
    order[numbered++] = static_cast<std::uint8_t>(s);
    int state = best_length == 0 ? -1 : 0;
    int length = 0;
    const auto put = [&](int value) {
        if (state == 0) {
            if (value > best[length]) return false;
            if (value < best[length]) state = -1;
        }
        code[length++] = static_cast<std::uint8_t>(value);
        return true;
    };
    for (int i = 0; i < numbered; ++i) {
        const int x = order[i];
        int d = first_dart[x];
        for (int j = 0; j < g.degree[x]; ++j, d = turn[d]) {
            const int y = g.head[d];
            if (label[y] == 0xff) {
                label[y] = static_cast<std::uint8_t>(numbered);
                first_dart[y] = static_cast<std::uint8_t>(d ^ 1);
                order[numbered++] = static_cast<std::uint8_t>(y);
            }
            if (!put(label[y] + 1)) return 1;
        }
        if (!put(0)) return 1;
    }
    return state;
}

}  // namespace

void find_canonical_form(const embedding& g, canonical_form& out) {
    const int darts = 2 * g.ne;
    int best_key = -1;
    for (int d = 0; d < darts; ++d) {
        const int key = g.degree[tail(g, d)] * 64 + g.degree[g.head[d]];
        if (key > best_key) best_key = key;
    }
    if (out.labels.size() < static_cast<std::size_t>(2 * darts * max_vertices))
        out.labels.resize(2 * darts * max_vertices);
    std::uint8_t trial[max_darts + max_vertices];
    std::uint8_t trial_label[max_vertices];
    out.code_length = 0;
    out.walks = 0;
    for (int d = 0; d < darts; ++d) {
        if (g.degree[tail(g, d)] * 64 + g.degree[g.head[d]] != best_key) continue;
        for (int clockwise = 1; clockwise >= 0; --clockwise) {
            const int r = walk(g, d, clockwise != 0, out.code, out.code_length, trial, trial_label);
            if (r > 0) continue;
            if (r < 0) {
                out.code_length = 2 * g.ne + g.nv;
                for (int i = 0; i < out.code_length; ++i) out.code[i] = trial[i];
                out.walks = 0;
            }
            std::uint8_t* l = &out.labels[static_cast<std::size_t>(out.walks) * max_vertices];
            for (int v = 0; v < g.nv; ++v) l[v] = trial_label[v];
            ++out.walks;
        }
    }
}

std::vector<std::uint8_t> canonical_code(const plane_graph& p) {
    canonical_form form;
    find_canonical_form(from_plane_graph(p), form);
    return std::vector<std::uint8_t>(form.code, form.code + form.code_length);
}

}  // namespace cnet
