#include "driver.h"

#include <cstdio>
#include <exception>
#include <new>

#include "document/document.h"
#include "document/frame.h"
#include "placement/place_squares.h"
#include "read_case.h"

namespace {

constexpr int failure_status = 1;
constexpr int usage_status = 2;

void report(const std::string& case_path, const std::string& message, std::int64_t line = 0)
{
    std::string where = case_path;
    if (line > 0) where += ":" + std::to_string(line);
    std::fprintf(stderr, "squares2tex: %s: %s\n", where.c_str(), message.c_str());
}

}  // namespace

std::vector<std::string> write_document(const square_case& c, file_system& files)
{
    document doc = open_document(files);
    write_frame_head(doc, c.width, c.height);
    std::vector<std::string> warnings = place_squares(c, doc);
    write_frame_tail(doc);
    return warnings;
}

int run(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("squares2tex: no case file given\nusage: squares2tex CASE-FILE\n", stderr);
        return usage_status;
    }
    const std::string case_path = argv[1];
    try {
        const square_case c = read_case(case_path);
        system_file_system files;
        for (const std::string& warning : write_document(c, files)) {
            report(case_path, "warning: " + warning);
        }
    } catch (const conversion_error& e) {
        report(case_path, e.what(), e.line);
        return failure_status;
    } catch (const std::bad_alloc&) {
        report(case_path, "out of memory");
        return failure_status;
    } catch (const std::exception& e) {
        report(case_path, std::string("unexpected failure: ") + e.what());
        return failure_status;
    }
    std::fputs("\n - - - - - Created squares.tex successfully. - - - - - -\n", stdout);
    return std::fflush(stdout) == 0 ? 0 : failure_status;
}
