#pragma once

#include <array>
#include <memory>

#include "common/colours_host.h"
#include "common/driver.h"
#include "linedemo/core/line_control_panel.h"
#include "linedemo/core/line_demo_app.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/profile_store.h"

namespace qm71 {

class DriverChannel;

// What only a front end can do for the line demo: run its dialogs and end it.
class LineDemoScreens {
  public:
    virtual ~LineDemoScreens() = default;
    // Each runs its dialog modally and returns what it ended with.
    virtual int RunControlPanel(const LinePanelState& state) = 0;
    virtual void RunColours(ColoursHost& host) = 0;
    virtual void RunInfo() = 0;
    // Closes the windows and ends the program; settings are written by then.
    virtual void End() = 0;
};

// The line demo beneath its windows, put together in its start-up order:
// settings file, image, card, window logic. Front ends own it beside their
// windows, dialogs and idle loop, and hand it the commands the main window
// leaves to the program.
class LineDemoParts final : public ColoursHost {
  public:
    // Reads the environment (QM71_CONFIG_DIR, QM71_DEVICE, QM71_SIM), reads
    // lcam71.ini, allocates the image and opens the card; what goes wrong is
    // shown before any window exists.
    LineDemoParts(Operator& op, Clock& clock, LineDemoScreens& screens);

    LineDemoApp& App() { return app_; }
    LineImageWindow& Logic() { return app_.MainWindow(); }

    // The window logic's commands that open dialogs or end the program.
    void Command(int id);
    // The main window goes away: settings written, card closed (once).
    void Shutdown(const Rect& window) { app_.Shutdown(window); }

    // ColoursHost
    ColouringSettings& Colouring() override;
    void BuildColorTable() override;
    const std::array<PaletteEntry, 256>& DisplayPalette() const override;

  private:
    LineDemoScreens& screens_;
    std::unique_ptr<ProfileStore> store_;
    std::unique_ptr<DriverChannel> channel_;
    Driver driver_;
    LineDemoApp app_;
};

}  // namespace qm71
