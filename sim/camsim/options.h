#pragma once

#include <string>
#include <vector>

#include "sim/camera/camera_protocol.h"

namespace qm71::sim {

struct CamsimOptions {
    CameraFaults faults;
    std::string link;             // symlink to create to the pty, empty for none
    bool sampleProtocol = false;  // the sample program's byte protocol instead of ASCII
    bool help = false;
};

inline constexpr int kCamsimMaxDelayMs = 600'000;

// Parses the program's arguments (without the program name). On a bad
// argument returns false and says why in `error`.
bool ParseCamsimOptions(const std::vector<std::string>& args, CamsimOptions& options,
                        std::string& error);

std::string CamsimUsage();

}  // namespace qm71::sim
