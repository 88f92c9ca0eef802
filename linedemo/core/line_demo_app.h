#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "common/driver.h"
#include "common/idle_turn.h"
#include "common/main_window_events.h"
#include "linedemo/core/line_image_window.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/profile_store.h"

namespace qm71 {

inline constexpr const char* kLineOutOfMemoryMessage =
    "Nicht genug Speicher für das Bild (3201064 Bytes): es wird nichts aufgenommen und nichts "
    "gespeichert.";

// The line demo program: settings, image, card and main window in their
// start-up order, the idle-driven acquisition loop and the shutdown.
//
// The front end drives it so:
//   1. construct it (reads the display settings and TRIG from lcam71.ini,
//      allocates the image, opens the card; messages come before any window);
//   2. InitInstance(screen) gives the window's first rectangle; create the
//      window, call MainWindow().OnCreate(host, screen), move it there, show
//      it and give it the focus, then Started();
//   3. pass the window's messages to this object's WindowEvents and carry out
//      the commands they leave (control panel, colours dialog, information
//      box, the end); the control panel's result goes to PanelResult();
//   4. while ShouldIdleRun(), call OnIdle() from a timer, again as soon as
//      the event queue is empty or after the rest it asks for, and stop the
//      timer when it turns false; check again after every event;
//   5. paint what the window logic hands its host;
//   6. Shutdown(window rectangle) when the window closes.
class LineDemoApp final : public MainWindowEvents<LineImageWindow> {
  public:
    using ImageAllocator = std::function<std::unique_ptr<ImageBlock>()>;

    LineDemoApp(ProfileStore& store, Driver& driver, Operator& op, Clock& clock,
                const ImageAllocator& allocate = LineImageWindow::AllocateImage);

    LineImageWindow& MainWindow() { return *window_; }
    const LineImageWindow& MainWindow() const { return *window_; }

    // Screen size known: where the main window is to be created.
    Rect InitInstance(int screenWidth, int screenHeight);
    // The window is up: live mode on.
    void Started() { liveMode_ = true; }

    // One idle turn: one acquisition cycle, which waits for the whole image.
    // A card that stops delivering ends live mode with one message; F5
    // resumes.
    IdleTurn OnIdle();
    // Idle turns can bring an image: live, not ended, and the window able to
    // acquire (focus, no Alt, no drag, no dialog, an image block and a card).
    bool ShouldIdleRun() const;

    // The main window's commands and F5. False for ids the front end carries
    // out: control panel, colours dialog, information box.
    bool Command(int id) override;
    // What the control panel ended with; the command left to the front end
    // (the colours dialog, the end), or 0.
    int PanelResult(int result) { return window_->PanelResult(result); }
    void ToggleLiveMode() { liveMode_ = !liveMode_; }
    bool LiveMode() const { return liveMode_; }

    // The main window is being destroyed; `window` is its last rectangle.
    // Writes lcam71.ini, releases the image and closes the card.
    void Shutdown(const Rect& window);
    bool Ended() const { return ended_; }

  protected:
    LineImageWindow& Logic() override { return *window_; }

  private:
    ProfileStore& store_;
    Operator& op_;
    std::optional<LineImageWindow> window_;
    bool liveMode_ = false;
    bool ended_ = false;
};

}  // namespace qm71
