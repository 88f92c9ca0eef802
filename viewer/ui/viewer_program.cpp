#include "viewer/ui/viewer_program.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>

#include "common/startup/card_choice.h"
#include "common/ui/colours_dialog.h"
#include "common/ui/info_dialog.h"
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
      store_(ConfigDirectory() / kViewerSettingsFile),
      channel_(MakeDriverChannel(clock, CameraKind::kArea)),
      driver_(*channel_),
      app_(store_, driver_, op_, clock),
      cameraWait_(QStringLiteral("Warte auf die Kamera an %1 …")),
      camera_(serial_, op_, kCameraTimeouts, &cameraWait_) {}

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
        *logic, [this](int id) { Command(id); }, [this] { Shutdown(); }, [this] { UpdateIdle(); });
    InitIcons();
    widget_->setWindowIcon(QIcon(QStringLiteral(":/icons/qm.png")));
    logic->OnCreate(*widget_, screen.width(), screen.height());
    widget_->MoveWindow(placement);
    widget_->show();
    widget_->MoveWindow(placement);  // again, now that the frame is known

    // A request during a camera exchange gives up its wait, as Abbrechen does.
    OnTerminationRequest(widget_.get(), [this] {
        cameraWait_.Cancel();
        End();
    });
    QObject::connect(&idle_, &QTimer::timeout, [this] { Idle(); });
    running_.start();
    app_.Started();
    UpdateIdle();
    return true;
}

void ViewerProgram::Idle() {
    if (!QApplication::activeModalWidget()) {
        const bool drawn = app_.OnIdle();
        if (drawn) ++framesDrawn_;
        // No rows yet: let the loop rest a moment instead of spinning a core.
        idle_.setInterval(drawn ? 0 : 1);
    }
    UpdateIdle();
}

void ViewerProgram::UpdateIdle() {
    // Like a modal loop that never calls the idle hook: while a dialog or a
    // message box is open the picture stands still. Frozen, without a card or
    // ended, nothing can come: the timer stops so a paused program sleeps.
    // Closing the dialog (the window hears it is unblocked) and every command
    // come back here.
    if (app_.Acquiring() && !QApplication::activeModalWidget()) {
        if (!idle_.isActive()) idle_.start(0);
    } else {
        idle_.stop();
    }
}

void ViewerProgram::Command(int id) {
    ImageWindow* logic = app_.MainWindow();
    if (!logic || !widget_) return;
    switch (id) {
        case qm::ID_LIVE:
            app_.ToggleLiveMode();
            break;
        case qm::ID_CONTROL_PANEL:
            RunControlPanel();
            break;
        case qm::ID_COLOURS: {
            ColoursDialog dialog(*widget_, widget_.get());
            if (dialog.exec() == ColoursDialog::kResultOk) logic->Command(qm::ID_LUT_THRESHOLD);
            break;
        }
        case qm::ID_HELP: {
            InfoDialog dialog({qm::kIcon, qm::kProduct}, widget_.get());
            dialog.exec();
            break;
        }
        default:
            break;
    }
    UpdateIdle();
}

void ViewerProgram::RunControlPanel() {
    ControlPanelDialog panel(*this, widget_.get());
    const int result = panel.exec();
    switch (result) {
        case ControlPanelDialog::kEnd:
            End();
            break;
        case ControlPanelDialog::kOptions:
            Command(qm::ID_COLOURS);
            break;
        default:
            if (ImageWindow* logic = app_.MainWindow()) logic->PanelResult(result);
            break;
    }
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
    idle_.stop();
    app_.Shutdown(widget_->FrameRect());
    // For measuring the whole chain from card to screen.
    if (qEnvironmentVariableIsSet("QM71_REPORT_FPS") && running_.isValid()) {
        const double seconds = static_cast<double>(running_.elapsed()) / 1000.0;
        std::fprintf(stderr, "qm71: %lld frames drawn in %.1f s (%.1f frames/s)\n", framesDrawn_,
                     seconds, seconds > 0 ? static_cast<double>(framesDrawn_) / seconds : 0.0);
    }
}

}  // namespace qm71
