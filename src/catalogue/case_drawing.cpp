#include "catalogue/case_drawing.h"

#include "catalogue/made_names.h"
#include "files/path_names.h"
#include "messages.h"
#include "shown_text.h"

void refuse_standard_output(file_system& files, const std::string& path)
{
    if (!files.same_file(path, "/dev/stdout")) return;
    throw usage_error("standard output is " + shown_path(path) +
                      ", which the run would replace: send it elsewhere");
}

bool may_draw(const drawing_directory& d, file_system& files, const case_source& from,
              const std::string& name, std::string& messages)
{
    const std::string path = joined(d.path, name);
    if (d.guard_output) refuse_standard_output(files, path);
    // Recorded only when it is to be drawn: a name that stays the user's
    // (the catalogue on standard input) is never a run's to remove.
    const bool guarded = d.guard_input && files.same_file(path, "/dev/stdin");
    const std::string unrecorded = d.journal && !guarded ? d.journal->note(name) : std::string();
    if (guarded) {
        messages += format_message(
            from.file, from.line,
            "cannot replace " + shown_path(path) + ": it is the catalogue being read");
        return false;
    }
    if (!unrecorded.empty()) {
        // A file whose name no record holds would stay for ever.
        messages += format_message(
            from.file, from.line,
            "cannot create " + shown_path(path) + ": recording its name failed: " + unrecorded);
        return false;
    }
    return true;
}

std::string draw_smith(const drawing_directory& d, const picture_settings& drawing,
                       file_system& files, const square_case& c, const case_source& from,
                       std::string& messages, bool& failed, std::vector<made_drawing>& made)
{
    const picture_format& smith = *find_format("smith");
    const std::string name = drawing_name(from.number, c, smith.extension);
    bool written = false;
    if (may_draw(d, files, from, name, messages)) {
        try {
            // The drawing's report has told of the case already: the diagram's is not printed.
            tiling_report report(c.height);
            draw_case(c, *smith.open(files, joined(d.path, name), drawing), report);
            written = true;
        } catch (const conversion_error& e) {
            messages += format_message(from.file, from.line, e.what());
            failed = true;
        }
    }
    made.push_back({from.number, name, written});
    return written ? name : std::string();
}
