#include "sample/ui/sample_program.h"

#include <QApplication>
#include <QScreen>

#include "compose/card_service_choice.h"
#include "platform/qt/termination.h"
#include "resources/icons/icons.h"
#include "resources/sample/commands.h"
#include "sample/ui/about_box.h"
#include "sample/ui/size_dialog.h"

namespace qm71::sample {

SampleProgram::SampleProgram(Operator& op, Clock& clock)
    : card_(MakeCardService(clock)),
      ports_{card_.get(), card_.get()},
      camera_(line_, op),
      app_(*card_, camera_, op) {
    InstallCardPorts(ports_);
    line_.SetWaitWatcher(&cameraWait_);
}

bool SampleProgram::CameraWait::KeepWaiting(const std::string&, std::chrono::milliseconds) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !ending;
}

SampleProgram::~SampleProgram() {
    window_.reset();
    camera_.Close();
    line_.SetWaitWatcher(nullptr);
    qm71_install_ports(nullptr);
}

bool SampleProgram::Start() {
    InitIcons();
    window_ = std::make_unique<SampleWindow>(app_, [this](int id) { Command(id); });
    window_->setWindowIcon(QIcon(QStringLiteral(":/icons/qm71sample.png")));
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const Rect placement = app_.InitInstance(screen.width(), screen.height());
    app_.OnCreate(*window_);
    window_->ShowAt(placement);
    OnTerminationRequest(window_.get(), [this] { End(); });
    app_.Start([this](const std::string& title) {
        window_->setWindowTitle(QString::fromStdString(title));
        // The set-up blocks the event loop: let the new caption reach the screen.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    // Asked to end before the event loop runs: it ends as soon as it starts.
    if (cameraWait_.ending)
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    return true;
}

void SampleProgram::End() {
    cameraWait_.ending = true;
    // Ends the event loop and every modal loop inside it (a message box, the
    // about box, which no close request ends) without asking the windows.
    QCoreApplication::exit(0);
}

void SampleProgram::Command(int id) {
    if (app_.Command(id)) return;
    if (id == ID_SIZE) {
        SizeDialog(app_.State(), window_.get()).exec();
    } else if (id == ID_ABOUT) {
        AboutBox(window_.get()).exec();
    }
}

}  // namespace qm71::sample
