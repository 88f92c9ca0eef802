#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace qm71 {

// What --help says about a program. Each text but `name` and `usage` is a
// block of whole lines, each ending in '\n'; an empty block is left out.
struct ProgramHelp {
    std::string_view name;         // the executable, e.g. "qm"
    std::string_view usage;        // what follows the name on the usage line
    std::string_view description;  // what the program is and does
    std::string_view options;      // the program's own options, indented
    std::string_view environment;  // environment variables it reads, indented
};

// Reads the program's own arguments. On one it does not take it returns false
// and says why in `error`.
using ArgumentParser =
    std::function<bool(const std::vector<std::string>& args, std::string& error)>;

struct CommandLineOutcome {
    bool run = false;    // go on and run the program
    int exitStatus = 0;  // otherwise end with this status
};

// The first thing every program's main does, before any window system is
// touched. --help (-h) or --version anywhere among `args` (the arguments
// without the program name) is answered on `out`: status 0, or 1 when `out`
// cannot be written. Otherwise the arguments go to `parse`; what it refuses,
// and without a parser any argument at all, is reported on `err` with
// status 2.
CommandLineOutcome HandleCommandLine(const ProgramHelp& help, const std::vector<std::string>& args,
                                     std::ostream& out, std::ostream& err,
                                     const ArgumentParser& parse = nullptr);

}  // namespace qm71
