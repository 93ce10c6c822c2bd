// Many cases in one PDF: a page per case, in order, each the size of its
// drawing with a caption line under it, and a bookmark per page. Pages are
// drawn on any thread (make_book_page touches nothing shared) and added
// in order by one thread; the file is written as they come, so memory
// stays flat whatever the number of pages (one offset per object).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/pdf_file.h"
#include "document/picture_writer.h"

// One page, complete: its content and size, and its bookmark's title.
struct book_page {
    std::string content;  // the page's content stream
    double width = 0;     // in points
    double height = 0;
    std::string outline_title;          // UTF-8
    std::vector<std::string> warnings;  // the tiling report's, for the caller to print
    std::string failure;                // why a square could not be placed, or empty
};

// Draws the case with `caption_line` (UTF-8) centred under it; a case whose
// square cannot be placed up to it, that square in red, with its `failure`;
// `outlines`, a compound dissection's maximal sub-rectangles, over the squares.
// `with_smith`: the Smith diagram to its right in the same scale, its top
// and bottom poles level with the rectangle's top and bottom edges (none
// for a case that cannot be placed).
book_page make_book_page(const square_case& c, const std::string& caption_line,
                         const std::string& outline_title, const picture_settings& settings,
                         const std::vector<sub_rectangle>& outlines = {}, bool with_smith = false);

class pdf_book {
public:
    // Pages hang from a balanced tree of page nodes of `fan_out` kids each.
    pdf_book(file_system& files, const std::string& path, const std::string& title,
             std::size_t fan_out = 32);

    // The next page.
    void add(const book_page& page);

    // Writes the page tree, the outline and the table, and gives the file
    // its name. A book destroyed before leaves no file behind.
    void close();

private:
    void write_outline_item(std::size_t index, bool last);

    document doc_;
    pdf_file pdf_;
    std::string title_;
    std::size_t fan_out_;
    std::size_t pages_ = 0;
    std::string pending_title_;  // of the last page's bookmark, written once /Next is known
};
