#include "linedemo/ui/panel/line_control_panel_dialog.h"

#include <QLineEdit>

#include "platform/qt/closing_buttons.h"
#include "platform/qt/controls.h"
#include "platform/qt/screen_centre.h"
#include "ui_line_control_panel.h"

namespace qm71 {

LineControlPanelDialog::LineControlPanelDialog(const LinePanelState& state, QWidget* parent)
    : QDialog(parent), model_(state), ui_(std::make_unique<Ui::LineControlPanelForm>()) {
    ui_->setupUi(this);
    // Caption without system menu: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    const auto show = [this] {
        const LineControlPanel::View& view = model_.Shown();
        ShowChecked(*this, [&view](int id) {
            return id == view.colouring || id == view.scale ||
                   (id == kSoftwareTrigger && view.trigger);
        });
        Control<QLineEdit>(this, kImageSize)->setText(QString::fromStdString(view.imageSize));
    };
    show();
    ForwardButtons(
        *this, [this](int id) { return model_.Press(id); }, show);
}

LineControlPanelDialog::~LineControlPanelDialog() = default;

void LineControlPanelDialog::reject() {
    if (const auto result = model_.Press(LineControlPanel::kResultCancel)) done(*result);
}

void LineControlPanelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

}  // namespace qm71
