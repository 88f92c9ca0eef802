#include "sample/ui/sample_program.h"

#include <QApplication>
#include <QScreen>

#include "common/startup/card_service_choice.h"
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
      app_(*card_, camera_, grabber_, op) {
    InstallCardPorts(ports_);
}

SampleProgram::~SampleProgram() {
    window_.reset();
    camera_.Close();
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
    OnTerminationRequest(window_.get(), [this] { QApplication::closeAllWindows(); });
    app_.Start([this](const std::string& title) {
        window_->setWindowTitle(QString::fromStdString(title));
        // The set-up blocks the event loop: let the new caption reach the screen.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    return true;
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
