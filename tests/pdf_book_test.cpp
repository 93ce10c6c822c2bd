// A book of cases written through the library to a real directory, read
// back by qpdf, poppler and mupdf.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "document/pdf_book.h"
#include "files/system_file_system.h"
#include "test_cases.h"

namespace fs = std::filesystem;

namespace {

// The command's standard output, and its exit status.
std::string output_of(const std::string& command, int& status)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    std::string text;
    char block[4096];
    for (std::size_t n; (n = fread(block, 1, sizeof block, pipe.get())) > 0;) text.append(block, n);
    status = pclose(pipe.release());
    return text;
}

// The page tree read from the file, from the catalogue's root: every
// node's kids name it as their parent, its count is that of the pages
// under it, it has at most `fan_out` kids, and every page lies as deep as
// every other. Returns the root's count.
int check_page_tree(const std::string& pdf, std::size_t fan_out)
{
    struct node {
        int parent = 0;
        std::vector<int> kids;
        int count = 1;  // a page
    };
    std::map<int, node> nodes;
    const std::regex object(R"((\d+) 0 obj\n<< /Type /Pages?(?: /Parent (\d+) 0 R)?)"
                            R"((?: /Kids \[([^\]]*)\] /Count (\d+))?)");
    for (std::sregex_iterator at(pdf.begin(), pdf.end(), object), end; at != end; ++at) {
        node& n = nodes[std::stoi((*at)[1])];
        if ((*at)[2].matched) n.parent = std::stoi((*at)[2]);
        if ((*at)[3].matched) n.count = std::stoi((*at)[4]);
        std::istringstream kids((*at)[3]);
        for (int kid; kids >> kid; kids.ignore(4)) n.kids.push_back(kid);  // "N 0 R"
    }
    int depth = -1;
    const std::function<int(int, int)> walk = [&](int number, int level) {
        const node& n = nodes.at(number);
        if (n.kids.empty()) {
            EXPECT_TRUE(depth < 0 || depth == level) << "page " << number << " at depth " << level;
            depth = level;
            return 1;
        }
        EXPECT_LE(n.kids.size(), fan_out);
        int count = 0;
        for (const int kid : n.kids) {
            EXPECT_EQ(nodes.at(kid).parent, number) << "kid " << kid;
            count += walk(kid, level + 1);
        }
        EXPECT_EQ(n.count, count) << "node " << number;
        return count;
    };
    std::smatch root;
    EXPECT_TRUE(std::regex_search(pdf, root, std::regex(R"(/Type /Catalog /Pages (\d+) 0 R)")));
    return root.empty() ? 0 : walk(std::stoi(root[1]), 0);
}

// 70 pages under page nodes of 4 kids: leaves, two levels above them and
// the root. Each case is a square of side `k` over a k x (k + 1) frame,
// so each page has a size of its own.
TEST(PdfBook, PagesOutlineAndTreeAsReadersSeeThem)
{
    if (std::system("{ command -v qpdf && command -v pdfinfo && command -v pdftotext && "
                    "command -v mutool; } >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "needs qpdf, poppler-utils and mupdf-tools";
    }
    char pattern[] = "/tmp/pdf-book-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    const std::string path = (dir / "book.pdf").string();
    system_file_system files;
    std::vector<double> heights;
    {
        pdf_book unfinished(files, path, "never");
        unfinished.add(make_book_page(make_case(1, 1, {1}), "x", "x", {}));
    }
    EXPECT_TRUE(fs::is_empty(dir)) << "a book not closed leaves no file";
    {
        pdf_book book(files, path, "Seventy cases", 4);
        for (int k = 1; k <= 70; ++k) {
            const std::string title = k == 7 ? "caf\xc3\xa9 7" : "case " + std::to_string(k);
            const book_page page = make_book_page(make_case(k, k + 1, {k}),
                                                  "case " + std::to_string(k) + ", caption", title,
                                                  {});
            heights.push_back(page.height);
            EXPECT_EQ(page.warnings.size(), 1u) << "the row left short of the bottom";
            book.add(page);
        }
        book.close();
    }
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(check_page_tree(pdf, 4), 70);
    int status = 0;
    output_of("qpdf --check '" + path + "'", status);
    EXPECT_EQ(status, 0) << "qpdf found errors or warnings";
    const std::string info = output_of("pdfinfo -f 1 -l 70 '" + path + "'", status);
    EXPECT_NE(info.find("Title:           Seventy cases\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Pages:           70\n"), std::string::npos) << info;
    const std::regex size_line(R"(Page +(\d+) size: +[\d.]+ x ([\d.]+))");
    std::size_t sizes = 0;
    for (std::sregex_iterator at(info.begin(), info.end(), size_line), end; at != end; ++at)
        EXPECT_NEAR(std::stod((*at)[2]), heights.at(sizes++), 0.01) << (*at)[0];
    EXPECT_EQ(sizes, 70u);
    // One bookmark per page, in order, each leading to its page, whose
    // caption is its case's.
    std::istringstream outline(output_of("mutool show '" + path + "' outline", status));
    std::istringstream text(output_of("pdftotext '" + path + "' -", status));
    int items = 0;
    for (std::string line, page; std::getline(outline, line) && std::getline(text, page, '\f');) {
        const std::string k = std::to_string(++items);
        EXPECT_EQ(line, "|\t\"" + (k == "7" ? "caf\xc3\xa9 7" : "case " + k) + "\"\t#page=" + k +
                            "&view=Fit");
        EXPECT_NE(page.find("case " + k + ", caption"), std::string::npos) << page;
    }
    EXPECT_EQ(items, 70);
    fs::remove_all(dir);
}

}  // namespace
