// Runs the command-line parser on arbitrary arguments (the bytes split at
// NUL). It must accept or refuse with a usage error, and what it accepts
// must be a run that can go ahead.
#include <cstdint>
#include <string>
#include <vector>

#include "document/picture_writer.h"
#include "enumeration/enumerate_options.h"
#include "cli/options.h"

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
        const options o = parse_options(static_cast<int>(words.size()), argv.data());
        if (o.help || o.version) return 0;
        if (enumerates(o)) {
            require(o.enumerate.empty() != o.graphs.empty() && !o.has_case && o.catalogue.empty());
            require(!o.check && !o.canonical && o.directory.empty() && o.format.empty());
            require(o.part.empty() || (o.graphs.empty() && !o.count));
            return 0;
        }
        require(!o.imperfect && !o.squares && !o.count);
        require(o.has_case != !o.catalogue.empty());
        require(o.format.empty() || find_format(o.format) != nullptr);
        // A drawing's name never ends as another format's drawings do.
        if (draws(o) && o.output.size() >= 4) {
            std::string end = o.output.substr(o.output.size() - 4);
            for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            const std::string own = chosen_format(o).extension;
            require((end != ".svg" && end != ".pdf" && end != ".tex") ||
                    own.compare(own.size() - 4, 4, end) == 0);
        }
        const bool book = writes_book(o);
        require(!book || (o.format == "pdf" && o.directory.empty() && o.part.empty()));
        require(o.catalogue.empty() || o.output.empty() || o.canonical || book);
        require(o.catalogue.empty() ? o.directory.empty()
                                    : (o.check || o.canonical || !o.directory.empty() || book));
        require(!o.canonical || (!(o.check && !o.output.empty()) && o.format.empty() &&
                                  o.directory.empty() && !draws(o)));
        require(o.catalogue.empty() || o.format.empty() || !o.directory.empty() || book);
        require(!(o.check && descriptor_named(o.output) == 1));
        // --only names kinds, at least one, of a catalogue's cases.
        require(o.only.empty() ? o.only_kinds == 0
                               : !o.catalogue.empty() && o.only_kinds != 0 && o.only_kinds < 128);
        require(!o.has_case || draws(o) || o.check || o.canonical);
        require(o.size.empty() ? o.settings.size_mm == 0
                               : chosen_format(o).sized && o.settings.size_mm >= 1 &&
                                     o.settings.size_mm <= 5000);
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
