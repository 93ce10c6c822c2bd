#include "enumeration/planar_code.h"

#include <cerrno>
#include <cstring>

#include "enumeration/plane_check.h"
#include "squares.h"

namespace {

const char header_start[] = ">>planar_code";
constexpr std::size_t header_length = sizeof header_start - 1;

// A plane graph of n vertices without repeated edges has at most 3n - 6
// edges; a little room over that keeps the small multigraphs that are
// skipped as not simple.
std::size_t most_neighbours(int vertices)
{
    return 6 * static_cast<std::size_t>(vertices) + 6;
}

}  // namespace

std::string graph_named(std::int64_t number)
{
    return "graph " + std::to_string(number) + ": ";
}

planar_code_reader::planar_code_reader(std::FILE* in) : in_(in) {}

int planar_code_reader::byte()
{
    if (used_ == filled_) {
        errno = 0;
        filled_ = std::fread(buffer_, 1, sizeof buffer_, in_);
        used_ = 0;
        if (filled_ == 0) {
            if (std::ferror(in_)) {
                throw conversion_error(std::string("cannot read the graphs: ") +
                                       std::strerror(errno != 0 ? errno : EIO));
            }
            return -1;
        }
    }
    return buffer_[used_++];
}

int planar_code_reader::number(bool& ended)
{
    const int first = byte();
    if (!wide_ || first < 0) {
        ended = first < 0;
        return first;
    }
    const int second = byte();
    ended = second < 0;
    if (ended) return -1;
    return byte_order_ == 'l' ? first | second << 8 : first << 8 | second;
}

bool planar_code_reader::header_follows()
{
    if (filled_ - used_ < header_length) {
        // Moves what is left to the front and fills the rest.
        std::memmove(buffer_, buffer_ + used_, filled_ - used_);
        filled_ -= used_;
        used_ = 0;
        while (filled_ < header_length) {
            const std::size_t got = std::fread(buffer_ + filled_, 1, sizeof buffer_ - filled_, in_);
            if (got == 0) break;
            filled_ += got;
        }
    }
    return filled_ - used_ >= header_length &&
           std::memcmp(buffer_ + used_, header_start, header_length) == 0;
}

void planar_code_reader::read_header()
{
    header_read_ = true;
    byte_order_ = '\0';
    const int first = byte();
    if (first < 0) {
        throw conversion_error(
            "no graphs and no header: planar_code starts with >>planar_code<< (an empty input "
            "often means the generator found no graph)");
    }
    std::string seen(1, static_cast<char>(first));
    const auto refuse = [] {
        throw conversion_error(
            "not planar_code: the graphs must start with the header >>planar_code<< "
            "(as nauty-planarg -p writes them)");
    };
    for (std::size_t i = 1; i < sizeof header_start - 1; ++i) {
        const int c = byte();
        if (c < 0) refuse();
        seen += static_cast<char>(c);
    }
    if (seen != header_start) refuse();
    std::string rest;
    while (rest.size() < 5) {
        const int c = byte();
        if (c < 0) refuse();
        rest += static_cast<char>(c);
        if (rest == "<<") return;
    }
    if (rest == " le<<") {
        byte_order_ = 'l';
    } else if (rest == " be<<") {
        byte_order_ = 'b';
    } else {
        refuse();
    }
}

bool planar_code_reader::next(plane_graph& g)
{
    if (!header_read_) read_header();
    // No graph begins with ">>p": a graph of 62 vertices has no neighbour 112.
    while (header_follows()) read_header();
    wide_ = false;
    bool ended = false;
    int n = number(ended);
    if (ended) return false;
    const std::int64_t at = ++graphs_;
    const std::string name = graph_named(at);
    if (n == 0) {
        if (byte_order_ == '\0') {
            throw conversion_error(name +
                                   "a graph of 256 or more vertices (2-byte numbers) needs the "
                                   "header >>planar_code le<< or >>planar_code be<<");
        }
        wide_ = true;
        n = number(ended);
        if (ended) throw conversion_error(name + "the file ends inside the graph");
        if (n == 0) throw conversion_error(name + "a graph of no vertices");
    }
    if (n > most_vertices) {
        throw conversion_error(name + std::to_string(n) + " vertices are more than the " +
                               std::to_string(most_vertices) +
                               " of the largest graph squares2tex solves");
    }
    g.rotation.assign(static_cast<std::size_t>(n), {});
    std::size_t neighbours = 0;
    for (int v = 0; v < n; ++v) {
        std::vector<int>& around = g.rotation[static_cast<std::size_t>(v)];
        for (;;) {
            const int w = number(ended);
            if (ended) throw conversion_error(name + "the file ends inside the graph");
            if (w == 0) break;
            if (w > n) {
                throw conversion_error(name + "vertex " + std::to_string(v + 1) +
                                       " has neighbour " + std::to_string(w) + " of only " +
                                       std::to_string(n) + " vertices");
            }
            if (++neighbours > most_neighbours(n)) {
                throw conversion_error(name + "more than " + std::to_string(most_neighbours(n)) +
                                       " neighbours in all, more than a plane graph of " +
                                       std::to_string(n) + " vertices has");
            }
            around.push_back(w - 1);
        }
    }
    return true;
}
