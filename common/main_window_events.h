#pragma once

#include <span>

#include "platform/accelerator.h"
#include "platform/window_host.h"

namespace qm71 {

// The messages of the viewer's and the line demo's main window, as their
// programs hear them: keys through the program's accelerator table to its
// commands, everything else to the window logic `Window`.
template <typename Window>
class MainWindowEvents : public WindowEvents {
  public:
    // A command of the main window, from a key or the front end. False for
    // those the front end carries out (its dialogs).
    virtual bool Command(int id) = 0;

    void OnSize(const Rect& client, const Rect& window) override { Logic().OnSize(client, window); }
    int OnKeyDown(std::uint16_t key, std::uint8_t modifiers) override {
        Logic().OnKeyDown(key);
        const int id = FindAccelerator(keys_, key, modifiers);
        return id == 0 || Command(id) ? 0 : id;
    }
    void OnKeyUp(std::uint16_t key) override { Logic().OnKeyUp(key); }
    void OnLButtonDown(Point screen) override { Logic().OnLButtonDown(screen); }
    void OnMouseMove(Point screen, bool leftHeld) override {
        Logic().OnMouseMove(screen, leftHeld);
    }
    void OnButtonUp() override { Logic().OnButtonUp(); }
    int OnRButtonDown() override { return Logic().OnRButtonDown(); }
    void OnSetFocus(std::uint8_t modifiers) override { Logic().OnSetFocus(modifiers); }
    void OnKillFocus() override { Logic().OnKillFocus(); }
    void OnModal(bool open) override { Logic().OnModal(open); }

  protected:
    explicit MainWindowEvents(std::span<const Accelerator> keys) : keys_(keys) {}
    virtual Window& Logic() = 0;

  private:
    std::span<const Accelerator> keys_;
};

}  // namespace qm71
