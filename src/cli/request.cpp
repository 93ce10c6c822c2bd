#include "cli/request.h"

#include <algorithm>

#include "cli/cores.h"
#include "cli/option_checks.h"
#include "cli/option_values.h"
#include "cli/options.h"

namespace {

// --jobs, or every core this process may run on.
int job_count(const options& o)
{
    if (o.job_number > 0) return static_cast<int>(o.job_number);
    return std::min<int>(online_cores(), static_cast<int>(most_jobs));
}

enumeration_request enumeration_of(const options& o)
{
    enumeration_request e;
    e.orders = o.orders;
    e.graphs = o.graphs;
    e.imperfect = o.imperfect;
    e.squares = o.squares;
    e.count = o.count;
    e.with_net = o.with_net;
    e.stats = o.stats;
    e.stats_svg = o.stats && o.format == "svg";
    e.compound = o.compound;
    e.trivial = o.trivial;
    e.nontrivial = o.nontrivial;
    e.all = o.all;
    e.quiet = o.quiet;
    e.output = o.output;
    e.part = o.part_value;
    e.jobs = job_count(o);
    return e;
}

catalogue_request catalogue_of(const options& o)
{
    catalogue_request c;
    c.path = o.catalogue;
    c.check = o.check;
    c.canonical = o.canonical;
    c.up_to_subrectangles = o.up_to_subrectangles;
    c.net = o.net;
    c.graph6 = writes_graph6(o);
    c.stats = o.stats;
    c.stats_svg = o.stats && o.format == "svg";
    c.sizes = o.only_sizes;
    c.quiet = o.quiet;
    c.output = o.output;
    c.directory = o.directory;
    c.book = writes_book(o);
    c.with_smith = o.with_smith;
    if (draws(o)) c.format = &chosen_format(o);
    c.drawing = o.settings;
    c.part = o.part_value;
    c.only = o.only_kinds;
    c.jobs = job_count(o);
    return c;
}

case_request case_of(const options& o)
{
    case_request c;
    c.path = o.case_path;
    c.check = o.check;
    c.canonical = o.canonical;
    c.up_to_subrectangles = o.up_to_subrectangles;
    c.net = o.net;
    c.graph6 = writes_graph6(o);
    c.quiet = o.quiet;
    c.output = o.output;
    if (draws(o)) c.format = &chosen_format(o);
    c.drawing = o.settings;
    return c;
}

}  // namespace

request parse_request(int argc, const char* const* argv)
{
    options o = parse_options(argc, argv);
    check_combination(o);
    request r;
    r.quiet = o.quiet;
    r.ignored = o.ignored;
    if (o.help) {
        r.kind = run_kind::help;
    } else if (o.version) {
        r.kind = run_kind::version;
    } else if (enumerates(o)) {
        r.kind = o.graphs.empty() ? run_kind::enumeration : run_kind::graphs;
        r.enumeration = enumeration_of(o);
    } else if (!o.catalogue.empty()) {
        r.kind = run_kind::catalogue;
        r.catalogue = catalogue_of(o);
    } else {
        r.kind = o.check       ? run_kind::check_case
                 : o.canonical ? run_kind::canonical_case
                 : o.net       ? run_kind::net_case
                               : run_kind::draw_case;
        r.one_case = case_of(o);
    }
    return r;
}
