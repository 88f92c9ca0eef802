#include "linedemo/win32/line_demo_program.h"

#include "common/win32/colours_dialog.h"
#include "common/win32/info_dialog.h"
#include "linedemo/win32/line_control_panel_dialog.h"
#include "resources/qmdemo/program_info.h"

namespace qm71::win32 {

namespace {
// The main window: a bare popup with a caption and a sizing border, no
// system menu; the class icon is resource 2.
constexpr DWORD kMainWindowStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME;
constexpr int kMainIcon = 2;
}  // namespace

LineDemoProgram::LineDemoProgram(Operator& op, Clock& clock)
    : op_(op),
      parts_(op, clock, *this),
      window_(parts_.App(), {[this](int id) { parts_.Command(id); }, [this] { Shutdown(); }}),
      idle_([this] { return App().ShouldIdleRun(); }, [this] { return App().OnIdle(); }) {}

LineDemoProgram::~LineDemoProgram() {
    Shutdown();
}

bool LineDemoProgram::Start() {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const Rect placement = App().InitInstance(screenWidth, screenHeight);
    const bool created = window_.Create({"PXA/PXB1", kMainWindowStyle, kMainIcon}, placement, [&] {
        parts_.Logic().OnCreate(window_, screenWidth, screenHeight);
    });
    if (!created) {
        op_.Message("Das Fenster konnte nicht erzeugt werden.", "Fehler");
        return false;
    }
    window_.ShowAt(placement);
    App().Started();
    return true;
}

void LineDemoProgram::Shutdown() {
    if (App().Ended() || !window_.Handle()) return;
    parts_.Shutdown(window_.FrameRect());
    idle_.ReportRate("qmdemo", "images");
}

int LineDemoProgram::RunControlPanel(const LinePanelState& state) {
    return LineControlPanelDialog(state).Run(window_.Handle());
}

void LineDemoProgram::RunColours(ColoursHost& host) {
    ColoursDialog(host).Run(window_.Handle());
}

void LineDemoProgram::RunInfo() {
    InfoDialog({qmdemo::kIcon, qmdemo::kProduct, qmdemo::kInfoOk}).Run(window_.Handle());
}

}  // namespace qm71::win32
