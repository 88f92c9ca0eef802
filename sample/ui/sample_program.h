#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/posix/posix_serial_line.h"
#include "sample/parts/sample_parts.h"
#include "sample/ui/sample_window.h"

namespace qm71::sample {

// QM71SAMPLE with its Qt windows: the parts beneath them (the card service
// the environment chooses, COM2, the program logic) and the main window.
class SampleProgram final : public SampleScreens {
  public:
    SampleProgram(Operator& op, Clock& clock);
    ~SampleProgram() override;

    // Shows the window, then resets the card, loads the tables and sets up
    // the camera, with the caption following. Always true: camera faults
    // have been reported.
    bool Start();

    void Command(int id) { parts_.Command(id); }
    // A termination request: every wait and modal loop ends, the program with
    // status 0, also while it is still starting.
    void End();

    SampleApp& App() { return parts_.App(); }
    SampleWindow* Window() { return window_.get(); }

    // SampleScreens
    WindowHost* CreateMainWindow(const Rect& placement) override;
    void ShowMainWindow(const Rect& placement) override;
    void SetCaption(const std::string& caption) override;
    void HandleEvents() override;
    void RunSizeDialog(SampleState& state) override;
    void RunAboutBox() override;

  private:
    PosixSerialLine line_;
    SampleParts parts_;
    std::unique_ptr<SampleWindow> window_;
};

}  // namespace qm71::sample
