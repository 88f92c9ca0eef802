#include "platform/command_line.h"

#include <algorithm>
#include <initializer_list>
#include <ostream>

#include "platform/version.h"

namespace qm71 {

namespace {

constexpr std::string_view kStandardOptions =
    "  -h, --help    show this text and end\n"
    "  --version     show the version and end\n";

// Laid out the way help2man reads it: a "Usage:" line, then sections headed by
// a line ending in ':', which become the sections of the manual page.
void WriteHelp(const ProgramHelp& help, std::ostream& out) {
    out << "Usage: " << help.name << ' ' << help.usage << '\n';
    if (!help.description.empty()) out << help.description;
    out << "\nOptions:\n" << help.options << kStandardOptions;
    if (!help.environment.empty()) out << "\nEnvironment:\n" << help.environment;
}

bool Has(const std::vector<std::string>& args, std::initializer_list<std::string_view> names) {
    return std::any_of(args.begin(), args.end(), [names](const std::string& arg) {
        return std::find(names.begin(), names.end(), arg) != names.end();
    });
}

}  // namespace

CommandLineOutcome HandleCommandLine(const ProgramHelp& help, const std::vector<std::string>& args,
                                     std::ostream& out, std::ostream& err,
                                     const ArgumentParser& parse) {
    const bool wantsHelp = Has(args, {"--help", "-h"});
    if (wantsHelp || Has(args, {"--version"})) {
        if (wantsHelp) {
            WriteHelp(help, out);
        } else {
            out << help.name << ' ' << Version() << '\n';
        }
        // A full disk or a closed pipe is a failure, not an answer.
        out.flush();
        return {false, out ? 0 : 1};
    }
    std::string error;
    if (parse) {
        if (parse(args, error)) return {true, 0};
    } else if (args.empty()) {
        return {true, 0};
    } else {
        error = "unknown argument \"" + args.front() + "\"";
    }
    err << help.name << ": " << error << "\nTry '" << help.name << " --help' for more.\n";
    return {false, 2};
}

}  // namespace qm71
