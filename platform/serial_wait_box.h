#pragma once

#include <chrono>
#include <string>

#include "platform/serial_line.h"

namespace qm71 {

// How a front end keeps the program alive while a serial line waits on its
// one thread, whatever draws the box. Each time the line asks, the pending
// events are handled, so windows repaint; user input only once the box is
// up, so that nothing re-enters the dialog that waits. After `showAfter` a
// small modal box says what the program waits for; its cancel button (or
// closing it) ends the wait.
class SerialWaitBoxBase : public SerialWaitWatcher {
  public:
    bool KeepWaiting(const std::string& port, std::chrono::milliseconds waited) final;
    void WaitEnded() final;

    // Ends the wait under way at once, as the box's cancel button does;
    // outside a wait it does nothing. For a termination request, which
    // arrives during the wait.
    void Cancel() {
        if (waiting_) cancelled_ = true;
    }

  protected:
    explicit SerialWaitBoxBase(std::chrono::milliseconds showAfter) : showAfter_(showAfter) {}

    // Shows the box for `port`; false when it could not be made.
    virtual bool ShowBox(const std::string& port) = 0;
    virtual void HideBox() = 0;
    // Handles the pending events, user input only when `all`.
    virtual void HandleEvents(bool all) = 0;
    // The box was cancelled or closed.
    void Cancelled() { cancelled_ = true; }

  private:
    std::chrono::milliseconds showAfter_;
    bool waiting_ = false;
    bool cancelled_ = false;
    bool shown_ = false;
};

}  // namespace qm71
