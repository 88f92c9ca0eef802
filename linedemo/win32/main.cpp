// QMDEMO: the line-camera demo of the QM71 camera interface, on Windows.
#include "common/win32/run_program.h"
#include "linedemo/win32/line_demo_program.h"

namespace {

constexpr qm71::ProgramHelp kHelp{
    "qmdemo", "[--help | --version]",
    "The line-camera demo of the QM71 camera interface: collects 640 lines of 5000\n"
    "pixels from the line camera into one image, shows it live with a running count,\n"
    "and saves numbered BMP files (Ctrl+W) in the working directory. It takes no\n"
    "other arguments.\n",
    "",
    "  QM71_DEVICE      driver = the card's driver \\\\.\\QM71Dev (default), sim = the\n"
    "                   simulated card, none = no card driver\n"
    "  QM71_SIM         options of the simulated card, comma-separated: fps=N (0 = as\n"
    "                   fast as it goes), base=0x720, download-error=E:A,\n"
    "                   stall-after-rows=N, no-trigger, trace\n"
    "  QM71_CONFIG_DIR  folder of lcam71.ini (default: the Windows folder)\n"
    "  QM71_REPORT_FPS  when set, print the images drawn per second on exit\n"};

}  // namespace

int main() {
    return qm71::win32::RunProgram<qm71::win32::LineDemoProgram>(kHelp, "QMDEMO");
}
