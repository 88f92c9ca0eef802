#pragma once

#include <array>

#include "common/colours_host.h"
#include "common/ui/dib_window_widget.h"

namespace qm71 {

// A program's main window over its window logic `Logic`, which has the
// viewer's and the line demo's common messages (OnSize, Command, the left
// button) and colour settings. The program's own widget says what to draw.
template <typename Logic>
class MainWindowWidget : public DibWindowWidget, public ColoursHost {
  public:
    MainWindowWidget(Logic& logic, const QString& caption,
                     std::span<const Accelerator> accelerators, int panelCommand, Handlers handlers)
        : DibWindowWidget(caption, accelerators, panelCommand, std::move(handlers)),
          logic_(logic) {}

    // ColoursHost
    ColouringSettings& Colouring() override { return logic_.Settings().colouring; }
    void BuildColorTable() override { logic_.BuildColorTable(); }
    const std::array<PaletteEntry, 256>& DisplayPalette() const override {
        return logic_.DisplayPalette();
    }

  protected:
    void LogicSize(const Rect& client, const Rect& window) override {
        logic_.OnSize(client, window);
    }
    bool LogicCommand(int id) override { return logic_.Command(id); }
    void LogicLButtonDown(Point screen) override { logic_.OnLButtonDown(screen); }
    void LogicMouseMove(Point screen, bool leftHeld) override {
        logic_.OnMouseMove(screen, leftHeld);
    }
    void LogicLButtonUp() override { logic_.OnLButtonUp(); }

    Logic& logic_;
};

}  // namespace qm71
