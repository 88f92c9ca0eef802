#include "viewer/ui/viewer_program.h"

#include <QApplication>
#include <QScreen>

#include "common/ui/colours_dialog.h"
#include "common/ui/info_dialog.h"
#include "compose/card_choice.h"
#include "compose/settings_choice.h"
#include "platform/driver_channel.h"
#include "platform/qt/termination.h"
#include "resources/icons/icons.h"
#include "resources/qm/commands.h"
#include "resources/qm/program_info.h"
#include "viewer/core/bmp_export.h"
#include "viewer/ui/camera/camera_settings_dialog.h"
#include "viewer/ui/panel/control_panel_dialog.h"

namespace qm71 {

ViewerProgram::ViewerProgram(Operator& op, Clock& clock)
    : op_(op),
      store_(MakeSettingsStore(kViewerSettingsFile)),
      channel_(MakeDriverChannel(clock, CameraKind::kArea)),
      driver_(*channel_),
      app_(*store_, driver_, op_, clock),
      cameraWait_(QStringLiteral("Warte auf die Kamera an %1 …")),
      camera_(serial_, op_, kCameraTimeouts, &cameraWait_),
      idle_([this] { return app_.Acquiring(); }, [this] { return app_.OnIdle(); }) {}

ViewerProgram::~ViewerProgram() {
    Shutdown();
    // The window goes first, while the timer its last events may reach still exists.
    widget_.reset();
}

bool ViewerProgram::Start() {
    ImageWindow* logic = app_.MainWindow();
    if (!logic) return false;

    const QSize screen = QGuiApplication::primaryScreen()->size();
    const Rect placement = app_.InitInstance(screen.width(), screen.height());

    widget_ = std::make_unique<ImageWindowWidget>(
        app_, ImageWindowWidget::Handlers{[this](int id) { Command(id); }, [this] { Shutdown(); },
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
    app_.Started();
    idle_.Start();
    return true;
}

void ViewerProgram::Command(int id) {
    ImageWindow* logic = app_.MainWindow();
    if (!logic || !widget_) return;
    switch (id) {
        case qm::ID_CONTROL_PANEL:
            RunControlPanel();
            break;
        case qm::ID_COLOURS: {
            ColoursDialog dialog(*widget_, widget_.get());
            dialog.exec();
            break;
        }
        case qm::ID_APP_EXIT:
            End();
            return;
        case qm::ID_HELP: {
            InfoDialog dialog({qm::kIcon, qm::kProduct, qm::kInfoOk}, widget_.get());
            dialog.exec();
            break;
        }
        default:
            break;
    }
    idle_.Update();
}

void ViewerProgram::RunControlPanel() {
    ControlPanelDialog panel(*this, widget_.get());
    const int result = panel.exec();
    if (ImageWindow* logic = app_.MainWindow()) Command(logic->PanelResult(result));
}

int ViewerProgram::Lut() const {
    return app_.MainWindow()->Settings().colouring.lut;
}

int ViewerProgram::Scale() const {
    return app_.MainWindow()->Settings().scale;
}

int ViewerProgram::DownloadAttempts() const {
    return app_.MainWindow()->DownloadAttempts();
}

int ViewerProgram::RunCameraSettings() {
    CameraSettingsDialog dialog(camera_, op_);
    return dialog.exec();
}

void ViewerProgram::SoftwareTrigger() {
    if (ImageWindow* logic = app_.MainWindow()) logic->SoftwareTrigger();
}

void ViewerProgram::SaveBitmap() {
    ImageWindow* logic = app_.MainWindow();
    if (!logic || !logic->Image()) return;
    if (const auto path = AskBitmapFileName(QApplication::activeModalWidget()))
        SaveBitmapReporting(*path, *logic->Image(), op_);
}

void ViewerProgram::End() {
    Shutdown();
    // Dialogs still open (a termination request may come at any time) close
    // with the window; closing the last window ends the event loop.
    QApplication::closeAllWindows();
}

void ViewerProgram::Shutdown() {
    if (app_.Ended() || !widget_) return;
    idle_.Stop();
    app_.Shutdown(widget_->FrameRect());
    idle_.ReportRate("qm71", "frames");
}

}  // namespace qm71
