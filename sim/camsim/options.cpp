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
        const bool takesValue = name == "--late" || name == "--pieces" || name == "--link" ||
                                name == "--refuse-command";
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
        } else if (name == "--refuse-command") {
            int command = 0;
            const char* end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, command);
            if (value.empty() || ec != std::errc{} || ptr != end || command < 0 || command > 255) {
                error =
                    "--refuse-command wants a command number from 0 to 255, not \"" + value + "\"";
                return false;
            }
            options.sampleRefusedCommand = command;
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

}  // namespace qm71::sim
