// Reads arbitrary bytes as the previous run's record, after the record's
// first line or not, and runs a made-up catalogue run over it: the bytes
// after the first 0 say which drawings it writes, fails to write, or
// passes by; it runs twice, reading its catalogue to the end and not. Then:
// only names the previous record lists are removed, never one the new
// record lists, one the run failed to write, the record or the catalogue; a
// run that ended early removes nothing and still records every name the
// whole run removes; the new record lists every name written.
#include <cstdint>
#include <set>
#include <string>

#include "files/made_journal.h"
#include "catalogue/made_names.h"
#include "files/made_record.h"
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

// One made-up run over the previous record `old`: what it wrote, failed to
// write, and what its record lists; `refused` when it stopped at the start.
struct outcome {
    watched_files files;
    std::set<std::string> before, written, failed, listed;
    bool refused = false;
};

enum class ending { complete, early, never };

void run_over(const std::string& old, const std::string& run, bool headed, ending end, outcome& o)
{
    const std::string record = "d/" + std::string(record_name);
    const std::size_t one = old.find('\1');
    o.files.files[record] = (headed ? std::string(record_heading) + "\n" : "") + old.substr(0, one);
    if (one != std::string::npos) {
        o.files.files["d/" + std::string(journal_name)] =
            (headed ? std::string(journal_heading) + "\n" : "") + old.substr(one + 1);
    }
    o.files.files["d/000002-1-1x1.svg"] = "the catalogue";
    for (const auto& file : o.files.files) o.before.insert(file.first);
    try {
        made_record made(o.files, "d", "d/000002-1-1x1.svg", made_name_kinds());
        std::int64_t number = 0;
        for (std::size_t i = 1; i < run.size(); ++i) {
            const unsigned c = static_cast<unsigned char>(run[i]);
            number += 1 + (c & 3);
            square_case shape;
            shape.count = 1 + ((c >> 2) & 1);
            shape.width = shape.height = shape.count;
            const std::string name = drawing_name(number, shape, (c & 8) != 0 ? ".svg" : ".tex");
            const bool ok = (c & 16) == 0;
            // As the run does: the name first, then the file.
            require(made.journal().note(name).empty());
            if (ok) o.files.files["d/" + name] = "drawn";
            (ok ? o.written : o.failed).insert(name);
            made.drawing(number, name, ok);
        }
        for (const char* page : {"compound-000001.html", "page-000001.html", "index.html"}) {
            require(made.journal().note(page).empty());
            o.written.insert(page);
            made.page(page);
        }
        if (end == ending::never) return;
        const bool left = made.finish(end == ending::complete).empty();
        require(!left || o.files.files.count("d/" + std::string(journal_name)) == 0);
    } catch (const conversion_error&) {
        o.refused = true;
        return;
    }
    const std::string text = o.files.files.at(record);
    require(text.rfind(std::string(record_heading) + "\n", 0) == 0);
    for (std::size_t at = text.find('\n') + 1, end; at < text.size(); at = end + 1)
        o.listed.insert(text.substr(at, (end = text.find('\n', at)) - at));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = bytes.find('\0');
    const std::string old = bytes.substr(0, zero);
    const std::string run = zero == std::string::npos ? std::string() : bytes.substr(zero + 1);
    const bool headed = run.empty() || (run[0] & 1) != 0;
    // Bytes that begin with a heading of their own have it whatever `headed` says.
    const std::size_t one = old.find('\1');
    const auto begins = [](const std::string& text, const char* heading) {
        return text.compare(0, std::string(heading).size(), heading) == 0;
    };
    if (!headed && (begins(old, record_heading) ||
                    (one != std::string::npos && begins(old.substr(one + 1), journal_heading))))
        return 0;
    // The same run, reaching the end of its catalogue and not.
    outcome whole, early, killed;
    run_over(old, run, headed, ending::complete, whole);
    run_over(old, run, headed, ending::early, early);
    run_over(old, run, headed, ending::never, killed);
    // A record changed by hand removes nothing, but the first whole run
    // puts it in order.
    if (!killed.refused) {
        for (int again = 0; again < 2; ++again) {
            made_record next(killed.files, "d", "d/000002-1-1x1.svg", made_name_kinds());
            require(next.finish(true).empty());
        }
        for (const std::string& name : killed.written)
            require(name == "000002-1-1x1.svg" || killed.files.files.count("d/" + name) == 0);
    }
    for (const outcome* o : {&whole, &early}) {
        // Without the first line the previous record is refused, and nothing happens.
        require(o->refused == !headed);
        if (o->refused) {
            require(o->files.removed.empty());
            continue;
        }
        for (const std::string& name : o->written) require(o->listed.count(name) != 0);
        // No file is left but those there before, those written and the record.
        for (const auto& file : o->files.files) {
            require(o->before.count(file.first) != 0 ||
                    o->written.count(file.first.substr(2)) != 0);
        }
        for (const std::string& path : o->files.removed) {
            // A temporary file of the run's own (the record it dropped).
            if (o->before.count(path) == 0 && path.rfind("d/.squares2tex-", 0) == 0) continue;
            // The journal, once the record holds its names.
            if (path == "d/" + std::string(journal_name)) continue;
            const std::string name = path.substr(2);
            require(o == &whole && path.compare(0, 2, "d/") == 0 && is_made_name(name));
            require(old.find(name) != std::string::npos);
            require(o->listed.count(name) == 0 && o->failed.count(name) == 0);
            require(path != "d/000002-1-1x1.svg" && path != "d/" + std::string(record_name));
            // What a whole run clears, one that ended early keeps recorded.
            require(early.listed.count(name) != 0);
        }
    }
    return 0;
}
