#include "linedemo/ui/line_window_widget.h"

#include "linedemo/core/line_demo_app.h"

namespace qm71 {

LineWindowWidget::LineWindowWidget(LineDemoApp& app, Handlers handlers)
    : DibWindowWidget(app, QStringLiteral("PXA/PXB1"), std::move(handlers)) {}

}  // namespace qm71
