#include "cli/output_guard.h"

#include "catalogue/made_names.h"
#include "catalogue/made_record.h"
#include "document/gallery.h"
#include "reading/input_file.h"
#include "cli/options.h"
#include "shown_text.h"

namespace {

std::string base_name(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void refuse_input_as_output(file_system& files, const std::string& input, const std::string& output,
                            const char* what)
{
    if (descriptor_named(output) >= 0 || !files.same_file(output, input)) return;
    throw usage_error(std::string(what) + " " + shown_path(input) +
                      " would be replaced by the output " + shown_path(output));
}

void refuse_input_as_descriptor(file_system& files, const std::string& input,
                                const std::string& output, bool to_standard_output,
                                const char* what)
{
    const bool from_standard_input = input == "-";
    file_system::file_id read{};
    if (!files.regular_file_id(from_standard_input ? 0 : -1, input, read)) return;
    const std::string shown_input = shown_path(input_name(input));
    const auto refuse_if = [&](int descriptor, const std::string& path, const std::string& shown) {
        file_system::file_id written{};
        if (!files.regular_file_id(descriptor, path, written) || !(written == read)) return;
        throw usage_error(std::string(what) + " " + shown_input + " is also the output " + shown +
                          ": the run would read what it writes");
    };
    const int named = descriptor_named(output);
    if (to_standard_output && named != 1) refuse_if(1, "", "(standard output)");
    if (named >= 0) {
        refuse_if(named, "", named == 1 ? "(standard output)" : shown_path(output));
    } else if (from_standard_input && !output.empty()) {
        refuse_if(-1, output, shown_path(output));
    }
}

void refuse_catalogue_in_directory(file_system& files, const std::string& catalogue,
                                   const std::string& directory)
{
    file_system::target resolved;
    files.find_target(catalogue, links::follow, resolved);
    for (const std::string& name : {base_name(catalogue), base_name(resolved.path)}) {
        const std::string written = joined(directory, name);
        if ((!is_made_name(name) && name != record_name && name != journal_name) ||
            !files.same_file(written, catalogue))
            continue;
        // Pages and the record are written by every run; a drawing's name is
        // replaced when the run draws that case, removed when an earlier run made it.
        if (gallery::is_page_name(name) || name == record_name) {
            throw usage_error("the catalogue " + shown_path(catalogue) +
                              " would be replaced: the run writes " + shown_path(written));
        }
        throw usage_error("the catalogue " + shown_path(catalogue) + " is named as a drawing in " +
                          shown_path(directory) +
                          ": a run into it replaces or removes such a file as its own");
    }
}
