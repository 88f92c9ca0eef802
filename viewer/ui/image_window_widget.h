#pragma once

#include "common/ui/main_window_widget.h"
#include "viewer/core/image_window.h"

namespace qm71 {

// The viewer's main window on the screen, over its window logic.
class ImageWindowWidget final : public MainWindowWidget<ImageWindow> {
  public:
    ImageWindowWidget(ImageWindow& logic, Handlers handlers);

  protected:
    std::optional<DibPicture> Picture() override;
};

}  // namespace qm71
