#include "sim/camsim/options.h"

#include <charconv>

namespace qm71::sim {

namespace {

bool ParseMs(const std::string& text, int& ms) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end || value < 0 || value > kCamsimMaxDelayMs) {
        return false;
    }
    ms = value;
    return true;
}

}  // namespace

bool ParseCamsimOptions(const std::vector<std::string>& args, CamsimOptions& options,
                        std::string& error) {
    options = CamsimOptions{};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        const bool takesValue = name == "--late" || name == "--pieces" || name == "--link";
        if (takesValue && !hasValue) {
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
        } else if (!takesValue && hasValue) {
            error = name + " takes no value";
            return false;
        }

        if (name == "--silent") {
            options.faults.silent = true;
        } else if (name == "--garbage") {
            options.faults.garbage = true;
        } else if (name == "--refuse") {
            options.faults.refuse = true;
        } else if (name == "--sample") {
            options.sampleProtocol = true;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--late" || name == "--pieces") {
            int& ms = name == "--late" ? options.faults.lateMs : options.faults.piecesMs;
            if (!ParseMs(value, ms)) {
                error = name + " wants milliseconds from 0 to " +
                        std::to_string(kCamsimMaxDelayMs) + ", not \"" + value + "\"";
                return false;
            }
        } else if (name == "--link") {
            if (value.empty()) {
                error = "--link needs a path";
                return false;
            }
            options.link = value;
        } else {
            error = "unknown argument \"" + args[i] + "\"";
            return false;
        }
    }
    return true;
}

std::string CamsimUsage() {
    return "usage: qm71-camsim [--silent] [--garbage] [--refuse] [--late MS] [--pieces MS]\n"
           "                   [--sample] [--link PATH]\n"
           "Plays the area camera on a pseudo-terminal. The first line of standard output\n"
           "is the terminal's path; every command and reply is logged on standard error.\n"
           "  --silent      never answer\n"
           "  --garbage     answer noise instead of replies\n"
           "  --refuse      answer ERR to everything\n"
           "  --late MS     send each reply only MS milliseconds after its command\n"
           "  --pieces MS   send replies byte by byte, MS milliseconds apart\n"
           "  --sample      play the sample program's camera (byte frames, status byte)\n"
           "  --link PATH   also make PATH a symbolic link to the terminal\n"
           "  --help        show this text\n"
           "Ends cleanly on SIGINT or SIGTERM.\n";
}

}  // namespace qm71::sim
