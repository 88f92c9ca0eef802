#include "linedemo/win32/line_demo_program.h"

#include "common/win32/colours_dialog.h"
#include "common/win32/info_dialog.h"
#include "common/win32/main_window.h"
#include "linedemo/win32/line_control_panel_dialog.h"
#include "resources/qmdemo/program_info.h"

namespace qm71::win32 {

LineDemoProgram::LineDemoProgram(Operator& op, Clock& clock)
    : op_(op),
      parts_(op, clock, *this),
      window_(parts_.App(), {[this](int id) { parts_.Command(id); }, [this] { Shutdown(); }}),
      idle_([this] { return App().ShouldIdleRun(); }, [this] { return App().OnIdle(); }) {}

LineDemoProgram::~LineDemoProgram() {
    Shutdown();
}

bool LineDemoProgram::Start() {
    const bool opened = OpenMainWindow(
        window_, "PXA/PXB1", op_, [this](int w, int h) { return App().InitInstance(w, h); },
        [this](int w, int h) { parts_.Logic().OnCreate(window_, w, h); });
    if (opened) App().Started();
    return opened;
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
