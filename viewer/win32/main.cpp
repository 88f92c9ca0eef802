// QM: the area-camera viewer of the QM71 camera interface, on Windows.
#include "common/win32/run_program.h"
#include "platform/win32/win32_serial_line.h"
#include "viewer/win32/viewer_program.h"

namespace {

constexpr qm71::ProgramHelp kHelp{
    "qm", "[--help | --version]",
    "The area-camera viewer of the QM71 camera interface: shows the card's pictures\n"
    "live and sets up the camera over a serial line. It takes no other arguments.\n",
    "",
    "  QM71_DEVICE      driver = the card's driver \\\\.\\QM71Dev (default), sim = the\n"
    "                   simulated card, none = no card driver\n"
    "  QM71_SIM         options of the simulated card, comma-separated: fps=N (0 = as\n"
    "                   fast as it goes), base=0x720, download-error=E:A,\n"
    "                   stall-after-rows=N, no-trigger\n"
    "  QM71_CONFIG_DIR  folder of qm71.ini (default: the Windows folder)\n"
    "  QM71_REPORT_FPS  when set, print the frames drawn per second on exit\n"};

}  // namespace

int main() {
    qm71::Win32SerialLine line;
    return qm71::win32::RunProgram<qm71::win32::ViewerProgram>(kHelp, "QM", line);
}
