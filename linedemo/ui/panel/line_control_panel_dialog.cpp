#include "linedemo/ui/panel/line_control_panel_dialog.h"

#include <QCheckBox>
#include <QLineEdit>

#include "platform/qt/closing_buttons.h"
#include "platform/qt/controls.h"
#include "platform/qt/screen_centre.h"
#include "ui_line_control_panel.h"

namespace qm71 {

LineControlPanelDialog::LineControlPanelDialog(const LinePanelState& state, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::LineControlPanelForm>()) {
    ui_->setupUi(this);
    // Caption without system menu: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    ExclusiveButtons(*this, {kNormal, kInverse, kThreshold}, kNormal + state.lut);
    ExclusiveButtons(*this,
                     {kScale1To8, kScale1To4, kScale1To2, kScale1To1, kScale2To1, kScale4To1},
                     kScale1To8 + state.scale);
    // Pressing the button already pressed still closes: the main window then
    // rebuilds the colour table or refits the window.
    CloseWithIds(*this, {kOk, kEnd, kNormal, kInverse, kThreshold, kOptions, kScale1To8, kScale1To4,
                         kScale1To2, kScale1To1, kScale2To1, kScale4To1});

    Control<QLineEdit>(this, kImageSize)
        ->setText(QStringLiteral("%1*%2").arg(state.width).arg(state.height));

    // A check box the program marks, not the click: the mark shows the mode the
    // card is in, and the click asks the main window to change it.
    auto* trigger = Control<QCheckBox>(this, kSoftwareTrigger);
    trigger->setChecked(state.trigger);
    connect(trigger, &QCheckBox::clicked, this, [this, trigger](bool checked) {
        trigger->setChecked(!checked);
        done(kSoftwareTrigger);
    });
}

LineControlPanelDialog::~LineControlPanelDialog() = default;

void LineControlPanelDialog::reject() {
    done(kResultCancel);
}

void LineControlPanelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

}  // namespace qm71
