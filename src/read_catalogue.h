// TEMPORARY STUB until the reader branch lands
#pragma once
#include <cstdio>
#include "squares.h"
struct catalogue_position {
    std::int64_t number = 0;
    std::int64_t line = 0;
};
class catalogue_reader {
public:
    explicit catalogue_reader(std::FILE* s) : stream_(s) {}
    bool next(square_case&, catalogue_position&) { return false; }

private:
    std::FILE* stream_;
};
