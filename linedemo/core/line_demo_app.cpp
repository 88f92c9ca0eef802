#include "linedemo/core/line_demo_app.h"

#include "common/profile_keys.h"
#include "resources/qmdemo/commands.h"
#include "resources/qmdemo/control_panel_ids.h"

namespace qm71 {

LineDemoApp::LineDemoApp(ProfileStore& store, Driver& driver, Operator& op, Clock& clock,
                         const ImageAllocator& allocate)
    : MainWindowEvents(qmdemo::kLineDemoAccelerators), store_(store), op_(op) {
    std::unique_ptr<ImageBlock> image = allocate();
    std::unique_ptr<ImageBlock> incoming = image ? allocate() : nullptr;
    if (!incoming) {
        image.reset();
        op_.Message(kLineOutOfMemoryMessage, "Fehler");
    }
    LineSettings settings;
    // TRIG is needed now: the card is configured for it right away.
    settings.ReadDisplay(store_);
    window_.emplace(std::move(image), std::move(incoming), settings, driver, op, clock);
    window_->OpenLineGrabber();
}

Rect LineDemoApp::InitInstance(int screenWidth, int screenHeight) {
    LineSettings settings;
    settings.ReadWindowPlacement(store_, screenWidth, screenHeight);
    return settings.window;
}

IdleTurn LineDemoApp::OnIdle() {
    if (!liveMode_ || ended_) return {};
    switch (window_->AcquisitionCycle()) {
        case LineImageWindow::Cycle::Drawn:
            return {.drawn = true};
        case LineImageWindow::Cycle::NotRun:
            return {};
        case LineImageWindow::Cycle::TimedOut:
            // Live mode goes off before the box opens, so nothing acquires
            // behind it; F5 resumes.
            liveMode_ = false;
            op_.Message(kLineTimeoutMessage, "Fehler");
            return {};
    }
    return {};
}

bool LineDemoApp::ShouldIdleRun() const {
    return liveMode_ && !ended_ && window_->CanAcquire();
}

bool LineDemoApp::Command(int id) {
    if (id == qmdemo::ID_LIVE) {
        ToggleLiveMode();
        return true;
    }
    return window_->Command(id);
}

void LineDemoApp::Shutdown(const Rect& window) {
    if (ended_) return;
    ended_ = true;
    liveMode_ = false;
    if (const auto failure = window_->OnDestroy(store_, window))
        op_.Message(SettingsNotWrittenMessage(kLineSettingsFile, *failure), "Fehler");
}

}  // namespace qm71
