// QM71SAMPLE: the sample program of the QM71 acquisition library, on Windows.
#include <windows.h>

#include "common/win32/command_line.h"
#include "common/win32/win32_operator.h"
#include "platform/clock.h"
#include "platform/win32/win32_serial_line.h"
#include "sample/win32/sample_program.h"

namespace {

constexpr qm71::ProgramHelp kHelp{
    "qm71sample", "[--help | --version]",
    "The sample program of the QM71 acquisition library: resets the card, loads its\n"
    "lookup tables, sets up the camera on COM2 and shows one frame grabbed through\n"
    "each library entry on F1..F8 (menu \"Grab\"). \"Size\" sets the frame size of the\n"
    "WxH grabs and the number of frames averaged, \"Lut\" the card's lookup table.\n"
    "It takes no other arguments.\n",
    "",
    "  QM71_DEVICE      sim = the simulated card (the default: the card service\n"
    "                   cannot be reached from a Windows program), none = no card\n"
    "                   (reads give all ones)\n"
    "  QM71_SIM         options of the simulated card, comma-separated: fps=N (0 = as\n"
    "                   fast as it goes), noise=N, trace\n"};

}  // namespace

int main() {
    const auto commandLine = qm71::HandleWindowsCommandLine(kHelp);
    if (!commandLine.run) return commandLine.exitStatus;

    qm71::Win32Operator op("QM71SAMPLE");
    qm71::Win32SerialLine line;
    qm71::win32::SampleProgram program(op, qm71::SystemClock(), line);
    if (!program.Start()) return 0;
    return program.Run();
}
