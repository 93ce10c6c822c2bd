// Runs the command-line parser on arbitrary arguments (the bytes split at
// NUL). It must accept or refuse with a usage error, and what it accepts
// must be a run that can go ahead.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/request.h"
#include "document/picture_writer.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> words{"squares2tex"};
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    argv.push_back(nullptr);
    try {
        const request r = parse_request(static_cast<int>(words.size()), argv.data());
        if (r.kind == run_kind::help || r.kind == run_kind::version) return 0;
        if (r.kind == run_kind::enumeration || r.kind == run_kind::graphs) {
            const enumeration_request& e = r.enumeration;
            require(e.graphs.empty() == (r.kind == run_kind::enumeration));
            require(!e.graphs.empty() ||
                    (least_order <= e.orders.low && e.orders.low <= e.orders.high &&
                     e.orders.high <= greatest_order));
            // --graphs shares out its file as --enumerate its c-nets; counts of parts do not add
            // up.
            require(e.part.n == 1 || !e.count);
            // --stats is a table of the whole enumeration's codes, on standard output.
            // Its histogram (-f svg) alone may go to -o FILE.
            require(!e.stats || (e.part.n == 1 && !e.count && !e.with_net &&
                                 (e.output.empty() || e.stats_svg)));
            require(!e.stats_svg || e.stats);
            require(1 <= e.part.k && e.part.k <= e.part.n && e.jobs >= 1 && e.jobs <= 256);
            return 0;
        }
        // A drawing's name never ends as another format's drawings do.
        const auto named_as_own = [](const std::string& output, const picture_format& format) {
            if (output.size() < 4) return true;
            std::string end = output.substr(output.size() - 4);
            for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            const std::string own = format.extension;
            return (end != ".svg" && end != ".pdf" && end != ".tex") ||
                   own.compare(own.size() - 4, 4, end) == 0;
        };
        const auto sized = [](const picture_format* format, const picture_settings& drawing) {
            return drawing.size_mm == 0 || (format != nullptr && format->sized &&
                                            drawing.size_mm >= 1 && drawing.size_mm <= 5000);
        };
        if (r.kind == run_kind::catalogue) {
            const catalogue_request& c = r.catalogue;
            require(!c.path.empty() && c.jobs >= 1 && c.jobs <= 256);
            require(!c.book || (c.format != nullptr && std::string(c.format->name) == "pdf" &&
                                c.directory.empty() && c.part.n == 1 && !c.canonical));
            require(c.output.empty() || c.canonical || c.net || c.book || c.stats_svg);
            require(!c.stats_svg || (c.stats && c.format == nullptr && c.part.n == 1));
            // The diagrams go beside a gallery's drawings or a book's pages, nowhere else.
            require(!c.with_smith ||
                    (c.format != nullptr && !c.canonical && !c.net && !c.stats &&
                     (c.book || (std::string(c.format->name) == "svg" && !c.directory.empty()))));
            require(c.check || c.canonical || c.net || c.stats || !c.directory.empty() || c.book);
            require((c.format != nullptr) == (!c.directory.empty() || c.book));
            require(!c.canonical || (!(c.check && !c.output.empty()) && c.format == nullptr));
            require(c.part.n == 1 || (c.path != "-" && c.format == nullptr));
            require(!(c.check && descriptor_named(c.output) == 1));
            // --only names kinds of a catalogue's cases.
            require(c.only < 1024);
            require(sized(c.format, c.drawing));
            return 0;
        }
        const case_request& c = r.one_case;
        require(c.check == (r.kind == run_kind::check_case));
        require(c.canonical == (r.kind == run_kind::canonical_case) || c.check);
        require(c.format == nullptr || (!c.canonical && !c.net));
        require(c.net == (r.kind == run_kind::net_case));
        require(c.format == nullptr || named_as_own(c.output, *c.format));
        require(r.kind != run_kind::draw_case || c.format != nullptr);
        require(!(c.check && descriptor_named(c.output) == 1));
        require(!c.canonical || !(c.check && !c.output.empty()));
        require(sized(c.format, c.drawing));
    } catch (const usage_error& e) {
        require(e.what()[0] != '\0');
        // An ambiguous beginning lists what it may stand for.
        const std::string message = e.what();
        require(message.rfind("option '--", 0) != 0 ||
                message.find("is ambiguous") == std::string::npos ||
                message.find("possibilities: '--") != std::string::npos);
    }
    return 0;
}
