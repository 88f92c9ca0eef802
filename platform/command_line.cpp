#include "platform/command_line.h"

#include <algorithm>
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

bool IsOneOf(const std::vector<std::string>& args, std::string_view a, std::string_view b = {}) {
    return std::any_of(args.begin(), args.end(), [&](const std::string& arg) {
        return arg == a || (!b.empty() && arg == b);
    });
}

}  // namespace

CommandLineOutcome HandleCommandLine(const ProgramHelp& help, const std::vector<std::string>& args,
                                     std::ostream& out, std::ostream& err,
                                     const ArgumentParser& parse) {
    const bool wantsHelp = IsOneOf(args, "--help", "-h");
    if (wantsHelp || IsOneOf(args, "--version")) {
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
