#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/posix/posix_serial_line.h"
#include "portlib/card_ports.h"
#include "sample/core/sample_app.h"
#include "sample/ui/sample_window.h"

namespace qm71::sample {

// QM71SAMPLE put together: the card service chosen by the environment
// (QM71_DEVICE, QM71_SIM) installed in the acquisition library, COM2 for the
// camera, the program logic and its window.
class SampleProgram {
  public:
    SampleProgram(Operator& op, Clock& clock);
    ~SampleProgram();

    // Shows the window ("QM71", 400 x 100 at a quarter of the screen), then
    // resets the card, loads the tables and sets up the camera, with the
    // caption following. Always true: camera faults have been reported.
    bool Start();

    void Command(int id);
    // A termination request: every wait and modal loop ends, the program with
    // status 0, also while it is still starting.
    void End();

    SampleApp& App() { return app_; }
    SampleWindow* Window() { return window_.get(); }

  private:
    // Keeps the window alive while the camera's set-up waits for replies, and
    // ends those waits for good once the program is to end.
    class CameraWait final : public SerialWaitWatcher {
      public:
        bool KeepWaiting(const std::string& port, std::chrono::milliseconds waited) override;
        void WaitEnded() override {}
        bool ending = false;
    };

    std::unique_ptr<CardPortPair> card_;
    CardPorts ports_;
    PosixSerialLine line_;
    CameraWait cameraWait_;
    SampleCamera camera_;
    SampleApp app_;
    std::unique_ptr<SampleWindow> window_;
};

}  // namespace qm71::sample
