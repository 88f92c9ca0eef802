#include "sample/ui/sample_program.h"

#include <QApplication>
#include <QScreen>

#include "platform/qt/termination.h"
#include "resources/icons/icons.h"
#include "sample/ui/about_box.h"
#include "sample/ui/size_dialog.h"

namespace qm71::sample {

SampleProgram::SampleProgram(Operator& op, Clock& clock) : parts_(op, clock, *this, line_) {}

SampleProgram::~SampleProgram() {
    window_.reset();
}

bool SampleProgram::Start() {
    InitIcons();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    parts_.Start(screen.width(), screen.height());
    // Asked to end before the event loop runs: it ends as soon as it starts.
    if (parts_.Ending())
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    return true;
}

void SampleProgram::End() {
    parts_.End();
    // Ends the event loop and every modal loop inside it (a message box, the
    // about box, which no close request ends) without asking the windows.
    QCoreApplication::exit(0);
}

WindowHost* SampleProgram::CreateMainWindow(const Rect&) {
    window_ = std::make_unique<SampleWindow>(App(), [this](int id) { Command(id); });
    window_->setWindowIcon(QIcon(QStringLiteral(":/icons/qm71sample.png")));
    return window_.get();
}

void SampleProgram::ShowMainWindow(const Rect& placement) {
    window_->ShowAt(placement);
    OnTerminationRequest(window_.get(), [this] { End(); });
}

void SampleProgram::SetCaption(const std::string& caption) {
    window_->setWindowTitle(QString::fromStdString(caption));
    // The set-up blocks the event loop: let the new caption reach the screen.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SampleProgram::HandleEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SampleProgram::RunSizeDialog(SampleState& state) {
    SizeDialog(state, window_.get()).exec();
}

void SampleProgram::RunAboutBox() {
    AboutBox(window_.get()).exec();
}

}  // namespace qm71::sample
