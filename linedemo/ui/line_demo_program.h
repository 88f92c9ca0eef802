#pragma once

#include <memory>

#include "common/driver.h"
#include "common/ui/idle_loop.h"
#include "linedemo/core/line_demo_app.h"
#include "linedemo/ui/line_window_widget.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/profile_store.h"

namespace qm71 {

class DriverChannel;

// Everything the line demo consists of, put together in its start-up order:
// settings file, image, card, window, acquisition loop.
class LineDemoProgram {
  public:
    // Reads the environment (QM71_CONFIG_DIR, QM71_DEVICE, QM71_SIM), reads
    // lcam71.ini, allocates the image and opens the card.
    LineDemoProgram(Operator& op, Clock& clock);
    ~LineDemoProgram();

    // Creates and shows the main window with the keyboard focus and starts
    // the acquisition loop. Always true: without a card or an image the
    // window still works.
    bool Start();

    LineDemoApp& App() { return app_; }
    LineWindowWidget* Window() { return widget_.get(); }
    bool IdleRunning() const { return idle_.Running(); }

    // Commands the window leaves to the program: control panel and dialogs.
    void Command(int id);
    // Ends the program as "&Programmende" does.
    void End();

  private:
    void RunControlPanel();
    void Shutdown();

    std::unique_ptr<ProfileStore> store_;
    std::unique_ptr<DriverChannel> channel_;
    Driver driver_;
    LineDemoApp app_;
    std::unique_ptr<LineWindowWidget> widget_;
    IdleLoop idle_;
};

}  // namespace qm71
