#include "sample/win32/sample_program.h"

#include "common/win32/text.h"
#include "sample/win32/sample_dialogs.h"

namespace qm71::win32 {

namespace {
// An overlapped window with the menu "QM71"; the class icon is resource 2.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW;
constexpr int kMainIcon = 2;
}  // namespace

SampleProgram::SampleProgram(Operator& op, Clock& clock, SerialLine& line)
    : op_(op),
      parts_(op, clock, *this, line),
      window_(parts_.App(), {[this](int id) { parts_.Command(id); }, [this] { parts_.End(); }}),
      // Nothing runs between messages: every grab is a command.
      loop_([] { return false; }, [] { return IdleTurn{}; }) {}

SampleProgram::~SampleProgram() = default;

bool SampleProgram::Start() {
    if (parts_.Start(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))) return true;
    op_.Message("Das Fenster konnte nicht erzeugt werden.", "Fehler");
    return false;
}

WindowHost* SampleProgram::CreateMainWindow(const Rect& placement) {
    const DibWindow::Look look{"QM71", kMainWindowStyle, kMainIcon, L"QM71"};
    return window_.Create(look, placement, [] {}) ? &window_ : nullptr;
}

void SampleProgram::SetCaption(const std::string& caption) {
    if (window_.Handle()) SetWindowTextW(window_.Handle(), Widen(caption).c_str());
    HandleEvents();
}

void SampleProgram::HandleEvents() {
    // The person's keys and clicks wait until the set-up is done.
    if (!PumpMessages(false)) parts_.End();
}

void SampleProgram::RunSizeDialog(sample::SampleState& state) {
    SizeDialog(state).Run(window_.Handle());
}

void SampleProgram::RunAboutBox() {
    AboutDialog().Run(window_.Handle());
}

}  // namespace qm71::win32
