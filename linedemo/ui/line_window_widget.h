#pragma once

#include "common/ui/dib_window_widget.h"

namespace qm71 {

class LineDemoApp;

// The line demo's main window on the screen; its messages go to the
// program logic, which keeps live mode.
class LineWindowWidget final : public DibWindowWidget {
  public:
    LineWindowWidget(LineDemoApp& app, Handlers handlers);
};

}  // namespace qm71
