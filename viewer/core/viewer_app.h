#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/card_wait.h"
#include "common/driver.h"
#include "common/idle_turn.h"
#include "common/main_window_events.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/profile_store.h"
#include "viewer/core/image_window.h"

namespace qm71 {

inline constexpr const char* kOutOfMemoryMessage =
    "Nicht genug Speicher für das Bild (6317096 Bytes). Das Programm wird beendet.";
// "Die Einstellungen (qm71.ini) konnten nicht in <folder> gespeichert werden:
// <reason>": what the settings store says of the write that failed.
std::string SettingsNotWrittenMessage(const ProfileStore::WriteFailure& failure);

// The viewer program: settings, card and main window in their start-up order,
// the live frame loop, the main window's messages and the shutdown.
class ViewerApp final : public MainWindowEvents<ImageWindow> {
  public:
    using ImageAllocator = std::function<std::unique_ptr<DisplayImage>()>;

    // Allocates the image, reads the display settings and opens the card. When
    // the image cannot be allocated it says so and the program must end
    // (`MainWindow()` is then empty).
    ViewerApp(ProfileStore& store, Driver& driver, Operator& op, Clock& clock,
              const ImageAllocator& allocate = DisplayImage::Allocate);

    ImageWindow* MainWindow() { return window_ ? &*window_ : nullptr; }
    const ImageWindow* MainWindow() const { return window_ ? &*window_ : nullptr; }

    // Screen size known: returns where the main window is to be created. The
    // front end creates it, calls `ImageWindow::OnCreate`, moves it there and
    // then calls `Started`.
    Rect InitInstance(int screenWidth, int screenHeight);
    void Started() { liveMode_ = true; }

    // One idle turn: a frame read and drawn, or none begun yet, and then how
    // long the loop may rest before it asks the card again (longer while
    // the card stays without rows, see CardBackoff).
    IdleTurn OnIdle();

    void ToggleLiveMode() { liveMode_ = !liveMode_; }
    // The window's commands and F5; the dialogs are left to the front end.
    bool Command(int id) override;
    // Idle turns can bring a frame: live, the card open, the window not gone.
    // When not, the front end stops calling OnIdle until this changes.
    bool Acquiring() const;

    // The main window is being destroyed; `window` is its last rectangle.
    void Shutdown(const Rect& window);
    bool Ended() const { return ended_; }

  protected:
    ImageWindow& Logic() override { return *window_; }

  private:
    ProfileStore& store_;
    Operator& op_;
    std::optional<ImageWindow> window_;
    CardBackoff noRows_;
    bool liveMode_ = false;
    bool ended_ = false;
};

}  // namespace qm71
