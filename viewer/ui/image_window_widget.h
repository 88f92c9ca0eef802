#pragma once

#include "common/ui/main_window_widget.h"
#include "viewer/core/image_window.h"

namespace qm71 {

class ViewerApp;

// The viewer's main window on the screen, over its window logic; its
// messages go to the program logic.
class ImageWindowWidget final : public MainWindowWidget<ImageWindow> {
  public:
    ImageWindowWidget(ViewerApp& app, Handlers handlers);
};

}  // namespace qm71
