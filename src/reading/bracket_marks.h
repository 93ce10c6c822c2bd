// The brackets of a case's notation, counted as the values go by: where a
// bracketed form opens and closes among the values. The value reader keeps
// one; the short notations (read_code_forms) read it.
#pragma once

#include <cstdint>
#include <vector>

// Where the values taken since the case began stand to the brackets ( and
// [ (braces are no brackets): counts of values taken before each mark,
// -1 while the mark has not been met.
struct bracket_marks {
    std::int64_t values = 0;        // taken so far
    std::int64_t first_open = -1;   // before the first opening bracket
    std::int64_t first_close = -1;  // before the first closing one after it
    std::int64_t outside = -1;      // before the first value outside brackets after that
    std::int64_t open_line = 0;     // the line of the first opening bracket
    std::int64_t depth = 0;         // brackets open at the reading position
};

// The marks of one case and the bounds of its outermost brackets. Inline:
// it runs between every two values.
struct bracket_count {
    bracket_marks marks;
    // Where each outermost bracket opened and closed, as counts of values
    // taken before it: open, close, open, close...
    std::vector<std::int64_t> bounds;

    void begin()
    {
        marks = bracket_marks{};
        bounds.clear();
    }

    void open(std::int64_t line)
    {
        if (marks.first_open < 0) {
            marks.first_open = marks.values;
            marks.open_line = line;
        }
        if (marks.depth++ == 0) bounds.push_back(marks.values);
    }

    void close()
    {
        if (marks.depth > 0 && --marks.depth == 0) bounds.push_back(marks.values);
        if (marks.first_open >= 0 && marks.first_close < 0) marks.first_close = marks.values;
    }

    // A value taken: the first one outside the brackets after they closed is marked.
    void count_value()
    {
        if (marks.first_close >= 0 && marks.depth == 0 && marks.outside < 0) {
            marks.outside = marks.values;
        }
        ++marks.values;
    }
};
