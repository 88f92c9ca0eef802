#pragma once

#include "platform/command_line.h"

namespace qm71 {

// HandleCommandLine for a program of the Windows GUI subsystem, which has no
// console of its own: the arguments come from the process's command line, and
// what is answered goes to the standard handles the parent gave (a pipe or a
// file), else to the console of the parent (a command prompt). No window is
// made.
CommandLineOutcome HandleWindowsCommandLine(const ProgramHelp& help);

}  // namespace qm71
