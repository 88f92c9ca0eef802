#include "linedemo/ui/line_demo_program.h"

#include <QApplication>
#include <QScreen>

#include "common/ui/colours_dialog.h"
#include "common/ui/info_dialog.h"
#include "compose/card_choice.h"
#include "compose/settings_choice.h"
#include "linedemo/core/line_geometry.h"
#include "linedemo/ui/panel/line_control_panel_dialog.h"
#include "platform/driver_channel.h"
#include "platform/qt/termination.h"
#include "resources/icons/icons.h"
#include "resources/qmdemo/commands.h"
#include "resources/qmdemo/program_info.h"

namespace qm71 {

LineDemoProgram::LineDemoProgram(Operator& op, Clock& clock)
    : store_(MakeSettingsStore(kLineSettingsFile)),
      channel_(MakeDriverChannel(clock, CameraKind::kLine)),
      driver_(*channel_),
      app_(*store_, driver_, op, clock),
      idle_([this] { return app_.ShouldIdleRun(); }, [this] { return app_.OnIdle(); }) {}

LineDemoProgram::~LineDemoProgram() {
    Shutdown();
    // The window goes first, while the timer its last events may reach still exists.
    widget_.reset();
}

bool LineDemoProgram::Start() {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const Rect placement = app_.InitInstance(screen.width(), screen.height());

    widget_ = std::make_unique<LineWindowWidget>(
        app_, LineWindowWidget::Handlers{[this](int id) { Command(id); }, [this] { Shutdown(); },
                                         [this] { idle_.Update(); }});
    InitIcons();
    widget_->setWindowIcon(QIcon(QString::fromUtf8(qmdemo::kIcon)));
    app_.MainWindow().OnCreate(*widget_, screen.width(), screen.height());
    widget_->ShowAt(placement);

    OnTerminationRequest(widget_.get(), [this] { End(); });
    app_.Started();
    idle_.Start();
    return true;
}

void LineDemoProgram::Command(int id) {
    if (!widget_) return;
    switch (id) {
        case qmdemo::ID_CONTROL_PANEL:
            RunControlPanel();
            break;
        case qmdemo::ID_COLOURS: {
            ColoursDialog dialog(*widget_, widget_.get());
            dialog.exec();
            break;
        }
        case qmdemo::ID_APP_EXIT:
            End();
            return;
        case qmdemo::ID_HELP: {
            InfoDialog dialog({qmdemo::kIcon, qmdemo::kProduct, qmdemo::kInfoOk}, widget_.get());
            dialog.exec();
            break;
        }
        default:
            break;
    }
    idle_.Update();
}

void LineDemoProgram::RunControlPanel() {
    LineControlPanelDialog panel(app_.MainWindow().PanelState(), widget_.get());
    Command(app_.PanelResult(panel.exec()));
}

void LineDemoProgram::End() {
    Shutdown();
    // Dialogs still open close with the window; closing the last window
    // ends the event loop.
    QApplication::closeAllWindows();
}

void LineDemoProgram::Shutdown() {
    if (app_.Ended() || !widget_) return;
    idle_.Stop();
    app_.Shutdown(widget_->FrameRect());
    idle_.ReportRate("qmdemo", "images");
}

}  // namespace qm71
