#include "viewer/ui/image_window_widget.h"

#include "resources/qm/commands.h"

namespace qm71 {

ImageWindowWidget::ImageWindowWidget(ImageWindow& logic, Handlers handlers)
    : MainWindowWidget(logic, QStringLiteral("PXA1/PXB1"), qm::kViewerAccelerators,
                       qm::ID_CONTROL_PANEL, std::move(handlers)) {}

std::optional<DibPicture> ImageWindowWidget::Picture() {
    const DisplayImage* image = logic_.Image();
    if (!image) return std::nullopt;
    return DibPicture{image->Block(), logic_.SourceWidth(), logic_.SourceHeight()};
}

}  // namespace qm71
