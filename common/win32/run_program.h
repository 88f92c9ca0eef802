#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "common/win32/command_line.h"
#include "common/win32/win32_operator.h"
#include "platform/clock.h"

namespace qm71::win32 {

// The whole of a Win32 program's main(): --help and --version first (they
// make no window), the common controls, then the program, made from the
// Win32 operator, the system clock and `ports`, started and its message loop
// run. `Program::Start()` false: it cannot run, the reason has been shown.
template <typename Program, typename... Ports>
int RunProgram(const ProgramHelp& help, const char* name, Ports&... ports) {
    const auto commandLine = HandleWindowsCommandLine(help);
    if (!commandLine.run) return commandLine.exitStatus;

    // Trackbars, and the look of the system's visual styles (the manifest).
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    Win32Operator op(name);
    Program program(op, SystemClock(), ports...);
    if (!program.Start()) return 1;
    return program.Run();
}

}  // namespace qm71::win32
