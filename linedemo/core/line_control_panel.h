#pragma once

#include <optional>
#include <string>

namespace qm71 {

// What the line demo's control panel shows when it opens.
struct LinePanelState {
    int lut = 0;    // 0..2 presses "&S/W", "&Invers" or "Sch&welle"; other values none
    int scale = 0;  // 0..5 presses "1:&8" … "4:1"; other values none
    bool trigger = false;
    int width = 0;  // image size, shown as "width*height"
    int height = 0;
};

// The line demo's control panel (template 137) without its widgets: a
// one-click chooser. Every button closes it with its own id, which the main
// window then carries out, also when the button was already pressed;
// "SW-Trigger" closes it with 32813 and keeps its check mark as it was (the
// main window toggles the mode). Enter is OK (1), Escape closes with 2.
class LineControlPanel {
  public:
    static constexpr int kResultCancel = 2;

    // What the controls show: the pressed colouring and scale buttons (0:
    // none), the check mark of "SW-Trigger" and the image size.
    struct View {
        int colouring = 0;
        int scale = 0;
        bool trigger = false;
        std::string imageSize;
    };

    explicit LineControlPanel(const LinePanelState& state);

    const View& Shown() const { return view_; }
    // A button, or Escape (2): the result the panel closes with; nothing for
    // an id the panel has no button for.
    std::optional<int> Press(int id) const;

  private:
    View view_;
};

}  // namespace qm71
