#include "linedemo/ui/line_demo_program.h"

#include <QApplication>
#include <QScreen>

#include "common/ui/colours_dialog.h"
#include "common/ui/info_dialog.h"
#include "linedemo/ui/panel/line_control_panel_dialog.h"
#include "platform/qt/termination.h"
#include "resources/icons/icons.h"
#include "resources/qmdemo/program_info.h"

namespace qm71 {

LineDemoProgram::LineDemoProgram(Operator& op, Clock& clock)
    : parts_(op, clock, *this),
      idle_([this] { return App().ShouldIdleRun(); }, [this] { return App().OnIdle(); }) {}

LineDemoProgram::~LineDemoProgram() {
    Shutdown();
    // The window goes first, while the timer its last events may reach still exists.
    widget_.reset();
}

bool LineDemoProgram::Start() {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const Rect placement = App().InitInstance(screen.width(), screen.height());

    widget_ = std::make_unique<LineWindowWidget>(
        App(), LineWindowWidget::Handlers{[this](int id) { Command(id); }, [this] { Shutdown(); },
                                          [this] { idle_.Update(); }});
    InitIcons();
    widget_->setWindowIcon(QIcon(QString::fromUtf8(qmdemo::kIcon)));
    parts_.Logic().OnCreate(*widget_, screen.width(), screen.height());
    widget_->ShowAt(placement);

    OnTerminationRequest(widget_.get(), [this] { End(); });
    App().Started();
    idle_.Start();
    return true;
}

void LineDemoProgram::Command(int id) {
    if (!widget_) return;
    parts_.Command(id);
    idle_.Update();
}

int LineDemoProgram::RunControlPanel(const LinePanelState& state) {
    LineControlPanelDialog panel(state, widget_.get());
    return panel.exec();
}

void LineDemoProgram::RunColours(ColoursHost& host) {
    ColoursDialog dialog(host, widget_.get());
    dialog.exec();
}

void LineDemoProgram::RunInfo() {
    InfoDialog dialog({qmdemo::kIcon, qmdemo::kProduct, qmdemo::kInfoOk}, widget_.get());
    dialog.exec();
}

void LineDemoProgram::End() {
    Shutdown();
    // Dialogs still open close with the window; closing the last window
    // ends the event loop.
    QApplication::closeAllWindows();
}

void LineDemoProgram::Shutdown() {
    if (App().Ended() || !widget_) return;
    idle_.Stop();
    parts_.Shutdown(widget_->FrameRect());
    idle_.ReportRate("qmdemo", "images");
}

}  // namespace qm71
