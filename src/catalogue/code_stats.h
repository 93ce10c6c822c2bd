// --stats over an enumeration's codes as they are written: each line read
// as a catalogue's line would be, checked and counted.
#pragma once

#include <string>
#include <string_view>

#include "analysis/check_workspace.h"
#include "catalogue/order_stats.h"

class code_stats {
public:
    // Takes text in any pieces; a line is counted once its end has come.
    void feed(std::string_view text);

    // The table, or with `svg` the histogram; a last line without its end
    // is counted first.
    std::string result(bool svg);

private:
    void count_line(std::string_view line);

    std::string partial_;
    check_workspace work_;
    catalogue_stats stats_;
};
