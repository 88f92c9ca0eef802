#pragma once

#include "common/ui/main_window_widget.h"
#include "linedemo/core/line_image_window.h"

namespace qm71 {

class LineDemoApp;

// The line demo's main window on the screen, over its window logic; its
// messages go to the program logic, which keeps live mode.
class LineWindowWidget final : public MainWindowWidget<LineImageWindow> {
  public:
    LineWindowWidget(LineDemoApp& app, Handlers handlers);
};

}  // namespace qm71
