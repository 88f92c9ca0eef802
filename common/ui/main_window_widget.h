#pragma once

#include <array>

#include "common/colours_host.h"
#include "common/ui/dib_window_widget.h"

namespace qm71 {

// A program's main window over its window logic `Logic`, which has the
// viewer's and the line demo's colour settings; its messages go to `events`.
template <typename Logic>
class MainWindowWidget : public DibWindowWidget, public ColoursHost {
  public:
    MainWindowWidget(Logic& logic, WindowEvents& events, const QString& caption, Handlers handlers)
        : DibWindowWidget(events, caption, std::move(handlers)), logic_(logic) {}

    // ColoursHost
    ColouringSettings& Colouring() override { return logic_.Settings().colouring; }
    void BuildColorTable() override { logic_.BuildColorTable(); }
    const std::array<PaletteEntry, 256>& DisplayPalette() const override {
        return logic_.DisplayPalette();
    }

  protected:
    Logic& logic_;
};

}  // namespace qm71
