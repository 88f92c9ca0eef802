#pragma once

#include <memory>

#include "common/ui/idle_loop.h"
#include "linedemo/parts/line_demo_parts.h"
#include "linedemo/ui/line_window_widget.h"
#include "platform/clock.h"
#include "platform/operator.h"

namespace qm71 {

// The line demo with its Qt windows: the parts beneath them, the main window,
// the dialogs and the acquisition loop.
class LineDemoProgram final : public LineDemoScreens {
  public:
    // Reads the environment (QM71_CONFIG_DIR, QM71_DEVICE, QM71_SIM), reads
    // lcam71.ini, allocates the image and opens the card.
    LineDemoProgram(Operator& op, Clock& clock);
    ~LineDemoProgram() override;

    // Creates and shows the main window with the keyboard focus and starts
    // the acquisition loop. Always true: without a card or an image the
    // window still works.
    bool Start();

    LineDemoApp& App() { return parts_.App(); }
    LineWindowWidget* Window() { return widget_.get(); }
    bool IdleRunning() const { return idle_.Running(); }

    // Commands the window leaves to the program: control panel and dialogs.
    void Command(int id);

    // LineDemoScreens
    int RunControlPanel(const LinePanelState& state) override;
    void RunColours(ColoursHost& host) override;
    void RunInfo() override;
    // Ends the program as "&Programmende" does.
    void End() override;

  private:
    void Shutdown();

    LineDemoParts parts_;
    std::unique_ptr<LineWindowWidget> widget_;
    IdleLoop idle_;
};

}  // namespace qm71
