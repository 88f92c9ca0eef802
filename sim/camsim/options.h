#pragma once

#include <string>
#include <vector>

#include "platform/command_line.h"
#include "sim/camera/camera_protocol.h"

namespace qm71::sim {

struct CamsimOptions {
    CameraFaults faults;
    std::string link;               // symlink to create to the pty, empty for none
    bool sampleProtocol = false;    // the sample program's byte protocol instead of ASCII
    int sampleRefusedCommand = -1;  // the sample camera refuses this command number
};

inline constexpr int kCamsimMaxDelayMs = 600'000;

// Parses the program's arguments (without the program name; --help and
// --version are answered before). On a bad argument returns false and says why
// in `error`.
bool ParseCamsimOptions(const std::vector<std::string>& args, CamsimOptions& options,
                        std::string& error);

inline constexpr ProgramHelp kCamsimHelp{
    "qm71-camsim", "[OPTION]...",
    "Plays the area camera on a pseudo-terminal. The first line of standard output\n"
    "is the terminal's path; every command and reply is logged on standard error.\n"
    "Point the viewer at it with QM71_COM1=PATH (the sample program's camera:\n"
    "QM71_COM2=PATH). Ends cleanly on SIGINT or SIGTERM.\n",
    "  --silent      never answer\n"
    "  --garbage     answer noise instead of replies\n"
    "  --refuse      answer ERR to everything\n"
    "  --late MS     send each reply only MS milliseconds after its command\n"
    "  --pieces MS   send replies byte by byte, MS milliseconds apart\n"
    "  --sample      play the sample program's camera (byte frames, status byte);\n"
    "                --refuse then answers status 255 to everything\n"
    "  --refuse-command N\n"
    "                with --sample: answer status 255 to command N (0..255) only\n"
    "  --link PATH   also make PATH a symbolic link to the terminal\n",
    ""};

}  // namespace qm71::sim
