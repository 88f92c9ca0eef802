#include "viewer/ui/viewer_program.h"

#include <QApplication>
#include <QScreen>

#include "common/ui/colours_dialog.h"
#include "common/ui/info_dialog.h"
#include "platform/qt/termination.h"
#include "resources/icons/icons.h"
#include "resources/qm/program_info.h"
#include "viewer/ui/camera/camera_settings_dialog.h"
#include "viewer/ui/panel/control_panel_dialog.h"

namespace qm71 {

ViewerProgram::ViewerProgram(Operator& op, Clock& clock)
    : op_(op),
      cameraWait_(QStringLiteral("Warte auf die Kamera an %1 …")),
      parts_(op, clock, *this, serial_, &cameraWait_),
      idle_([this] { return App().Acquiring(); }, [this] { return App().OnIdle(); }) {}

ViewerProgram::~ViewerProgram() {
    Shutdown();
    // The window goes first, while the timer its last events may reach still exists.
    widget_.reset();
}

bool ViewerProgram::Start() {
    ImageWindow* logic = parts_.Logic();
    if (!logic) return false;

    const QSize screen = QGuiApplication::primaryScreen()->size();
    const Rect placement = App().InitInstance(screen.width(), screen.height());

    widget_ = std::make_unique<ImageWindowWidget>(
        App(), ImageWindowWidget::Handlers{[this](int id) { Command(id); }, [this] { Shutdown(); },
                                           [this] { idle_.Update(); }});
    InitIcons();
    widget_->setWindowIcon(QIcon(QString::fromUtf8(qm::kIcon)));
    logic->OnCreate(*widget_, screen.width(), screen.height());
    widget_->ShowAt(placement);

    // A request during a camera exchange gives up its wait, as Abbrechen does.
    OnTerminationRequest(widget_.get(), [this] {
        cameraWait_.Cancel();
        End();
    });
    App().Started();
    idle_.Start();
    return true;
}

void ViewerProgram::Command(int id) {
    if (!widget_) return;
    parts_.Command(id);
    idle_.Update();
}

int ViewerProgram::RunControlPanel(ControlPanelHost& host) {
    ControlPanelDialog panel(host, widget_.get());
    return panel.exec();
}

void ViewerProgram::RunColours(ColoursHost& host) {
    ColoursDialog dialog(host, widget_.get());
    dialog.exec();
}

void ViewerProgram::RunInfo() {
    InfoDialog dialog({qm::kIcon, qm::kProduct, qm::kInfoOk}, widget_.get());
    dialog.exec();
}

int ViewerProgram::RunCameraSettings(CameraPort& camera) {
    CameraSettingsDialog dialog(camera, op_);
    return dialog.exec();
}

std::optional<std::filesystem::path> ViewerProgram::AskBitmapFileName() {
    return qm71::AskBitmapFileName(QApplication::activeModalWidget());
}

void ViewerProgram::End() {
    Shutdown();
    // Dialogs still open (a termination request may come at any time) close
    // with the window; closing the last window ends the event loop.
    QApplication::closeAllWindows();
}

void ViewerProgram::Shutdown() {
    if (App().Ended() || !widget_) return;
    idle_.Stop();
    parts_.Shutdown(widget_->FrameRect());
    idle_.ReportRate("qm71", "frames");
}

}  // namespace qm71
