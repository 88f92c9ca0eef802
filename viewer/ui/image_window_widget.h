#pragma once

#include "common/ui/dib_window_widget.h"

namespace qm71 {

class ViewerApp;

// The viewer's main window on the screen; its messages go to the program
// logic.
class ImageWindowWidget final : public DibWindowWidget {
  public:
    ImageWindowWidget(ViewerApp& app, Handlers handlers);
};

}  // namespace qm71
