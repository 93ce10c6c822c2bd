// planar_code, the binary format of plane graphs that nauty-planarg -p
// writes: a header, then each graph as its number of vertices and, vertex
// by vertex, its neighbours in cyclic order, each list ended by a 0.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "enumeration/plane_graph.h"

// Reads the graphs of a planar_code stream one by one. The 1-byte form
// reads under the header >>planar_code<<; the 2-byte form (a graph of 256
// or more vertices, its numbers in the byte order the header
// >>planar_code le<< or >>planar_code be<< names) under those headers.
// Anything else, a file cut short or a neighbour past the graph's
// vertices, throws conversion_error naming the graph's number in the
// file. A header may come again between graphs, as in files joined by cat;
// a file without even a header is refused. Memory stays flat whatever the
// input: a graph of more than most_vertices vertices, or with more
// neighbours in all than a plane graph without repeated edges has, is
// refused as soon as that is read.
// Whether the graph is a plane graph at all is for check_plane_graph.
// "graph 12: ", as messages about the 12th graph of a file begin.
std::string graph_named(std::int64_t number);

class planar_code_reader {
public:
    explicit planar_code_reader(std::FILE* in);

    // The next graph, its vertices numbered from 0; false at the end.
    bool next(plane_graph& g);

    // The graphs read so far; the number of the last one.
    std::int64_t graphs() const { return graphs_; }

private:
    int byte();               // the next byte, or -1 at the end
    int number(bool& ended);  // one vertex number in the file's width
    void read_header();
    bool header_follows();  // whether the unread bytes begin with a header

    std::FILE* in_;
    unsigned char buffer_[1 << 16];
    std::size_t used_ = 0;
    std::size_t filled_ = 0;
    bool header_read_ = false;
    char byte_order_ = '\0';  // 'l', 'b', or none: 1-byte numbers only
    bool wide_ = false;       // the graph being read uses 2-byte numbers
    std::int64_t graphs_ = 0;
};
