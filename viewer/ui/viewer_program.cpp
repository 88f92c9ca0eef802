#include "viewer/ui/viewer_program.h"

#include <QApplication>
#include <QScreen>

#include "common/ui/colours_dialog.h"
#include "platform/driver_channel.h"
#include "platform/qt/termination.h"
#include "resources/icons/icons.h"
#include "resources/qm/commands.h"
#include "sim/card/driver_channel_factory.h"
#include "viewer/ui/info/info_dialog.h"

namespace qm71 {

ViewerProgram::ViewerProgram(Operator& op, Clock& clock)
    : op_(op),
      store_(ConfigDirectory() / kViewerSettingsFile),
      channel_(sim::MakeDriverChannel(clock, sim::AreaCameraOptions())),
      driver_(*channel_),
      app_(store_, driver_, op_, clock) {}

ViewerProgram::~ViewerProgram() { Shutdown(); }

bool ViewerProgram::Start() {
    ImageWindow* logic = app_.MainWindow();
    if (!logic) return false;

    const QSize screen = QGuiApplication::primaryScreen()->size();
    const Rect placement = app_.InitInstance(screen.width(), screen.height());

    widget_ = std::make_unique<ImageWindowWidget>(
        *logic, [this](int id) { Command(id); }, [this] { Shutdown(); });
    InitIcons();
    widget_->setWindowIcon(QIcon(QStringLiteral(":/icons/qm.png")));
    logic->OnCreate(*widget_, screen.width(), screen.height());
    widget_->MoveWindow(placement);
    widget_->show();
    widget_->MoveWindow(placement);  // again, now that the frame is known

    OnTerminationRequest([this] { End(); });
    QObject::connect(&idle_, &QTimer::timeout, [this] { Idle(); });
    idle_.start(0);
    app_.Started();
    return true;
}

void ViewerProgram::Idle() {
    // Like a modal loop that never calls the idle hook: while a dialog or a
    // message box is open the picture stands still.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        idle_.setInterval(10);
        return;
    }
    const bool drawn = app_.OnIdle();
    if (drawn) ++framesDrawn_;
    // Nothing to do: let the loop rest a moment instead of spinning a core.
    idle_.setInterval(drawn ? 0 : 1);
}

void ViewerProgram::Command(int id) {
    ImageWindow* logic = app_.MainWindow();
    if (!logic || !widget_) return;
    switch (id) {
        case qm::ID_LIVE: app_.ToggleLiveMode(); break;
        case qm::ID_COLOURS: {
            ColoursDialog dialog(*widget_, widget_.get());
            if (dialog.exec() == 1) logic->PanelResult(1004);  // threshold colouring
            break;
        }
        case qm::ID_HELP: {
            InfoDialog dialog(widget_.get());
            dialog.exec();
            break;
        }
        default: break;
    }
}

void ViewerProgram::End() {
    if (widget_) widget_->close();
    Shutdown();
    QCoreApplication::exit(0);
}

void ViewerProgram::Shutdown() {
    if (app_.Ended() || !widget_) return;
    idle_.stop();
    app_.Shutdown(widget_->FrameRect());
}

}  // namespace qm71
