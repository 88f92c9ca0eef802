#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/card_service.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/serial_line.h"
#include "platform/window_host.h"
#include "portlib/card_ports.h"
#include "sample/core/camera_init.h"
#include "sample/core/sample_app.h"

namespace qm71 {

// What only a front end can do for the sample: make and show its window,
// show a caption, keep the screen alive during a wait, run its dialogs.
class SampleScreens {
  public:
    virtual ~SampleScreens() = default;
    // Makes the main window at `placement` (screen coordinates, frame
    // included), not shown yet; null when the window system refused.
    virtual WindowHost* CreateMainWindow(const Rect& placement) = 0;
    // Shows it at `placement` with the keyboard focus.
    virtual void ShowMainWindow(const Rect& placement) = 0;
    // Sets the main window's caption and lets it reach the screen.
    virtual void SetCaption(const std::string& caption) = 0;
    // Handles the pending events other than user input, so windows repaint
    // while the camera's replies are awaited.
    virtual void HandleEvents() = 0;
    virtual void RunSizeDialog(sample::SampleState& state) = 0;
    virtual void RunAboutBox() = 0;
};

// QM71SAMPLE beneath its windows: the card service the environment chooses
// (QM71_DEVICE, QM71_SIM) installed in the acquisition library, COM2 for the
// camera and the program logic, started in their order. Front ends own it
// beside their windows and hand it the menu commands.
class SampleParts {
  public:
    // `line` is the platform's serial port for COM2.
    SampleParts(Operator& op, Clock& clock, SampleScreens& screens, SerialLine& line);
    ~SampleParts();
    SampleParts(const SampleParts&) = delete;
    SampleParts& operator=(const SampleParts&) = delete;

    // Makes and shows the window ("QM71", 400 x 100 at a quarter of the
    // screen in), then resets the card, loads the tables and sets up the
    // camera, the caption following. False only when the window cannot be
    // made; camera faults have been reported and the program goes on.
    bool Start(int screenWidth, int screenHeight);

    // A menu command: grabs and tables go to the logic, the size dialog and
    // the about box to the front end.
    void Command(int id);
    // The program is to end: every wait for the camera ends, now and later.
    void End() { cameraWait_.ending = true; }
    bool Ending() const { return cameraWait_.ending; }

    sample::SampleApp& App() { return app_; }

  private:
    class CameraWait final : public SerialWaitWatcher {
      public:
        explicit CameraWait(SampleScreens& screens) : screens_(screens) {}
        bool KeepWaiting(const std::string&, std::chrono::milliseconds) override {
            screens_.HandleEvents();
            return !ending;
        }
        void WaitEnded() override {}
        bool ending = false;

      private:
        SampleScreens& screens_;
    };

    SampleScreens& screens_;
    std::unique_ptr<CardPortPair> card_;
    CardPorts ports_;
    SerialLine& line_;
    CameraWait cameraWait_;
    sample::SampleCamera camera_;
    sample::SampleApp app_;
};

}  // namespace qm71
