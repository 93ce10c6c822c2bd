#include "enumeration/canonical_code.h"

namespace cnet {

namespace {

// One walk from dart `start`, clockwise or not. Returns -1 if it is less
// than `best` (then written to `code`), 0 if equal, 1 if greater (and
// abandoned). `best_length` 0 means there is no best yet.
int walk(const embedding& g, int start, bool clockwise, const std::uint8_t* best, int best_length,
         std::uint8_t* code, std::uint8_t* label)
{
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

// An invariant of a walk's start: a clockwise walk from d keeps the face on
// d's left (the one d bounds) where a counter-clockwise one keeps the face
// on its right.
std::uint32_t start_key(const embedding& g, const face_table& f, int d, int clockwise)
{
    const std::uint32_t ends =
        std::uint32_t{g.degree[tail(g, d)]} << 24 | std::uint32_t{g.degree[g.head[d]]} << 16;
    const std::uint32_t left = f.size[f.of_dart[d]];
    const std::uint32_t right = f.size[f.of_dart[d ^ 1]];
    return clockwise ? ends | left << 8 | right : ends | right << 8 | left;
}

}  // namespace

bool least_along(const embedding& g, const face_table& f, int edge, const int* others, int count)
{
    std::uint32_t best_key = 0;
    std::uint32_t own_key = 0;
    for (int i = -1; i < count; ++i) {
        const int e = i < 0 ? edge : others[i];
        for (int d = 2 * e; d < 2 * e + 2; ++d)
            for (int clockwise = 0; clockwise < 2; ++clockwise) {
                const std::uint32_t k = start_key(g, f, d, clockwise);
                if (k > best_key) best_key = k;
                if (i < 0 && k > own_key) own_key = k;
            }
    }
    if (own_key != best_key) return false;
    std::uint8_t best[max_darts + max_vertices];
    std::uint8_t trial[max_darts + max_vertices];
    std::uint8_t label[max_vertices];
    int best_length = 0;
    for (int d = 2 * edge; d < 2 * edge + 2; ++d)
        for (int clockwise = 0; clockwise < 2; ++clockwise) {
            if (start_key(g, f, d, clockwise) != best_key) continue;
            if (walk(g, d, clockwise != 0, best, best_length, trial, label) < 0) {
                best_length = 2 * g.ne + g.nv;
                for (int j = 0; j < best_length; ++j) best[j] = trial[j];
            }
        }
    for (int i = 0; i < count; ++i)
        for (int d = 2 * others[i]; d < 2 * others[i] + 2; ++d)
            for (int clockwise = 0; clockwise < 2; ++clockwise)
                if (start_key(g, f, d, clockwise) == best_key &&
                    walk(g, d, clockwise != 0, best, best_length, trial, label) < 0)
                    return false;
    return true;
}

void find_canonical_form(const embedding& g, const face_table& f, canonical_form& out)
{
    const int darts = 2 * g.ne;
    std::uint32_t key[2][max_darts];
    std::uint32_t best_key = 0;
    for (int d = 0; d < darts; ++d)
        for (int clockwise = 0; clockwise < 2; ++clockwise) {
            key[clockwise][d] = start_key(g, f, d, clockwise);
            if (key[clockwise][d] > best_key) best_key = key[clockwise][d];
        }
    if (out.labels.size() < static_cast<std::size_t>(2 * darts * max_vertices))
        out.labels.resize(2 * darts * max_vertices);
    std::uint8_t trial[max_darts + max_vertices];
    std::uint8_t trial_label[max_vertices];
    out.code_length = 0;
    out.walks = 0;
    for (int d = 0; d < darts; ++d)
        for (int clockwise = 1; clockwise >= 0; --clockwise) {
            if (key[clockwise][d] != best_key) continue;
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

std::vector<std::uint8_t> canonical_code(const plane_graph& p)
{
    const embedding g = from_plane_graph(p);
    face_table f;
    find_faces(g, f);
    canonical_form form;
    find_canonical_form(g, f, form);
    return std::vector<std::uint8_t>(form.code, form.code + form.code_length);
}

}  // namespace cnet
