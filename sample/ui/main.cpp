// QM71SAMPLE: the sample program of the QM71 acquisition library.
#include "common/ui/run_program.h"
#include "sample/ui/sample_program.h"

namespace {

constexpr qm71::ProgramHelp kHelp{
    "qm71sample", "[--help | --version]",
    "The sample program of the QM71 acquisition library: resets the card, loads its\n"
    "lookup tables, sets up the camera on COM2 and shows one frame grabbed through\n"
    "each library entry on F1..F8 (menu \"Grab\"). \"Size\" sets the frame size of the\n"
    "WxH grabs and the number of frames averaged, \"Lut\" the card's lookup table.\n"
    "It takes no other arguments; Qt's display settings come from the environment\n"
    "(DISPLAY, QT_QPA_PLATFORM).\n",
    "",
    "  QM71_DEVICE      sim = the simulated card (default), none = no card (reads\n"
    "                   give all ones)\n"
    "  QM71_SIM         options of the simulated card, comma-separated: fps=N (0 = as\n"
    "                   fast as it goes), noise=N, trace\n"
    "  QM71_COM2        device path of COM2, the camera's line (default /dev/ttyS1)\n"};

}  // namespace

int main(int argc, char* argv[]) {
    return qm71::RunProgram<qm71::sample::SampleProgram>(kHelp, "QM71SAMPLE", argc, argv);
}
