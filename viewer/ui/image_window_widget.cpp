#include "viewer/ui/image_window_widget.h"

#include "viewer/core/viewer_app.h"

namespace qm71 {

ImageWindowWidget::ImageWindowWidget(ViewerApp& app, Handlers handlers)
    : DibWindowWidget(app, QStringLiteral("PXA1/PXB1"), std::move(handlers)) {}

}  // namespace qm71
