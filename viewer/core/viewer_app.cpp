#include "viewer/core/viewer_app.h"

#include "resources/qm/commands.h"

namespace qm71 {

ViewerApp::ViewerApp(ProfileStore& store, Driver& driver, Operator& op, Clock& clock,
                     const ImageAllocator& allocate)
    : MainWindowEvents(qm::kViewerAccelerators), store_(store), op_(op) {
    std::unique_ptr<DisplayImage> image = allocate();
    if (!image) {
        op_.Message(kOutOfMemoryMessage, "Fehler");
        return;
    }
    ViewerSettings settings;
    settings.ReadDisplay(store_);
    window_.emplace(std::move(image), settings.display, driver, op, clock);
    window_->OpenGrabber();
}

Rect ViewerApp::InitInstance(int screenWidth, int screenHeight) {
    ViewerSettings settings;
    settings.ReadWindowPlacement(store_, screenWidth, screenHeight);
    return settings.window;
}

bool ViewerApp::Acquiring() const {
    return liveMode_ && !ended_ && window_ && window_->CardOpen();
}

IdleTurn ViewerApp::OnIdle() {
    if (!liveMode_ || !window_ || ended_) return {};
    switch (window_->GrabCycle()) {
        case ImageWindow::Grab::Drawn:
            noRows_.Reset();
            return {.drawn = true};
        case ImageWindow::Grab::NoRows: {
            const IdleTurn turn{.rest = noRows_.Rest()};
            noRows_.Longer();
            return turn;
        }
        case ImageWindow::Grab::TimedOut:
            // Live mode goes off before the box opens, so nothing grabs behind it;
            // F5 resumes.
            liveMode_ = false;
            op_.Message(kCardTimeoutMessage, "Fehler");
            return {};
    }
    return {};
}

bool ViewerApp::Command(int id) {
    if (id == qm::ID_LIVE) {
        ToggleLiveMode();
        return true;
    }
    return window_ && window_->Command(id);
}

void ViewerApp::Shutdown(const Rect& window) {
    if (ended_ || !window_) return;
    ended_ = true;
    liveMode_ = false;
    if (const auto failure = window_->OnDestroy(store_, window))
        op_.Message(SettingsNotWrittenMessage(*failure), "Fehler");
}

std::string SettingsNotWrittenMessage(const ProfileStore::WriteFailure& failure) {
    return SettingsNotWrittenMessage(kViewerSettingsFile, failure);
}

}  // namespace qm71
