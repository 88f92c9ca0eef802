// QM: the area-camera viewer of the QM71 camera interface.
#include "common/ui/run_program.h"
#include "viewer/ui/viewer_program.h"

namespace {

constexpr qm71::ProgramHelp kHelp{
    "qm", "[--help | --version]",
    "The area-camera viewer of the QM71 camera interface: shows the card's pictures\n"
    "live and sets up the camera over a serial line. It takes no other arguments;\n"
    "Qt's display settings come from the environment (DISPLAY, QT_QPA_PLATFORM).\n",
    "",
    "  QM71_DEVICE      sim = the simulated card (default), none = no card driver\n"
    "  QM71_SIM         options of the simulated card, comma-separated: fps=N (0 = as\n"
    "                   fast as it goes), base=0x720, download-error=E:A,\n"
    "                   stall-after-rows=N, no-trigger\n"
    "  QM71_COM1        device path of COM1 (default /dev/ttyS0)\n"
    "  QM71_COM2        device path of COM2 (default /dev/ttyS1)\n"
    "  QM71_CONFIG_DIR  folder of qm71.ini (default $XDG_CONFIG_HOME/qm71 or\n"
    "                   ~/.config/qm71)\n"
    "  QM71_REPORT_FPS  when set, print the frames drawn per second on exit\n"};

}  // namespace

int main(int argc, char* argv[]) {
    return qm71::RunProgram<qm71::ViewerProgram>(kHelp, "QM", argc, argv);
}
