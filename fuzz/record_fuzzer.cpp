// Reads arbitrary bytes as the previous run's record, after the record's
// first line or not, and runs a made-up catalogue run over it: the bytes
// after the first 0 say which drawings it writes, fails to write, or
// passes by, and whether it reads its catalogue to the end. Then: only
// names the previous record lists are removed, never one the new record
// lists, one the run failed to write, the record or the catalogue; a run
// that ended early removes nothing; the new record lists every name written.
#include <cstdint>
#include <set>
#include <string>

#include "catalogue/made_names.h"
#include "catalogue/made_record.h"
#include "memory_files.h"
#include "squares.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

// Records every name removed.
class watched_files : public memory_files {
public:
    std::set<std::string> removed;
    void remove(const std::string& path) override
    {
        removed.insert(path);
        memory_files::remove(path);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = bytes.find('\0');
    const std::string old = bytes.substr(0, zero);
    const std::string run = zero == std::string::npos ? std::string() : bytes.substr(zero + 1);
    watched_files files;
    const std::string record = "d/" + std::string(record_name);
    const bool headed = run.empty() || (run[0] & 1) != 0;
    files.files[record] = headed ? std::string(record_heading) + "\n" + old : old;
    files.files["d/000002-1-1x1.svg"] = "the catalogue";
    std::set<std::string> written, failed;
    bool complete = true;
    try {
        made_record made(files, "d", "d/000002-1-1x1.svg");
        std::int64_t number = 0;
        for (std::size_t i = 1; i < run.size(); ++i) {
            const unsigned c = static_cast<unsigned char>(run[i]);
            number += 1 + (c & 3);
            square_case shape;
            shape.count = 1 + ((c >> 2) & 1);
            shape.width = shape.height = shape.count;
            const std::string name = drawing_name(number, shape, (c & 8) != 0 ? ".svg" : ".tex");
            const bool ok = (c & 16) == 0;
            if (ok) files.files["d/" + name] = "drawn";
            (ok ? written : failed).insert(name);
            made.drawing(number, name, ok);
        }
        complete = run.size() < 2 || (run[1] & 32) == 0;
        made.drawings_done(complete);
        for (const char* page : {"compound-000001.html", "page-000001.html", "index.html"}) {
            written.insert(page);
            made.page(page);
        }
        made.finish();
    } catch (const conversion_error&) {
        // Without the first line the previous record is refused, and nothing happens.
        require(!headed && files.removed.empty());
        return 0;
    }
    require(headed);
    const std::string text = files.files.at(record);
    require(text.rfind(std::string(record_heading) + "\n", 0) == 0);
    std::set<std::string> listed;
    for (std::size_t at = text.find('\n') + 1, end; at < text.size(); at = end + 1)
        listed.insert(text.substr(at, (end = text.find('\n', at)) - at));
    for (const std::string& name : written) require(listed.count(name) != 0);
    require(complete || files.removed.empty());
    for (const std::string& path : files.removed) {
        const std::string name = path.substr(2);
        require(path.compare(0, 2, "d/") == 0 && is_made_name(name));
        require(old.find(name) != std::string::npos);
        require(listed.count(name) == 0 && failed.count(name) == 0);
        require(path != "d/000002-1-1x1.svg" && path != record);
    }
    return 0;
}
