#include "common/ui/colours_dialog.h"

#include <QPushButton>
#include <QSignalBlocker>

#include "common/ui/colour_combo_box.h"
#include "platform/qt/screen_centre.h"
#include "ui_colours.h"

namespace qm71 {

ColoursDialog::ColoursDialog(ColoursHost& host, QWidget* parent)
    : QDialog(parent), model_(host), ui_(std::make_unique<Ui::ColoursDialog>()) {
    ui_->setupUi(this);
    // Caption without system menu: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    using M = ColoursDialogModel;
    lists_ = {ui_->backgroundList, ui_->middleList, ui_->foregroundList};
    edits_ = {ui_->threshEdit, ui_->mitteEdit};
    sliders_ = {ui_->threshSlider, ui_->mitteSlider};

    const auto colours = model_.ItemColours();
    for (std::size_t b = 0; b < lists_.size(); ++b) {
        lists_[b]->ShowColours(colours);
        connect(lists_[b], &QComboBox::currentIndexChanged, this, [this, b](int item) {
            model_.ChooseItem(static_cast<M::Band>(b), item);
            Show();
        });
    }
    for (std::size_t v = 0; v < edits_.size(); ++v) {
        sliders_[v]->setRange(M::kTrackbarMin, M::kTrackbarMax);
        sliders_[v]->setTickInterval(M::kTickInterval);
        sliders_[v]->setTickPosition(QSlider::TicksAbove);
        connect(edits_[v], &QLineEdit::textChanged, this, [this, v](const QString& text) {
            model_.TypeText(static_cast<M::Value>(v), text.toStdString());
            Show();
        });
        connect(sliders_[v], &QSlider::valueChanged, this, [this, v](int position) {
            model_.MoveTrackbar(static_cast<M::Value>(v), position);
            Show();
        });
    }
    Show();
    connect(ui_->okButton, &QPushButton::clicked, this, &ColoursDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &ColoursDialog::reject);
}

ColoursDialog::~ColoursDialog() = default;

void ColoursDialog::Show() {
    const ColoursDialogModel::View& view = model_.Shown();
    for (std::size_t b = 0; b < lists_.size(); ++b) {
        const QSignalBlocker quiet(lists_[b]);
        lists_[b]->setCurrentIndex(view.item[b]);
    }
    for (std::size_t v = 0; v < edits_.size(); ++v) {
        const QString text = QString::fromStdString(view.text[v]);
        // Text being typed stays as it is, cursor and all.
        if (edits_[v]->text() != text) {
            const QSignalBlocker quiet(edits_[v]);
            edits_[v]->setText(text);
        }
        const QSignalBlocker quiet(sliders_[v]);
        sliders_[v]->setValue(view.position[v]);
        sliders_[v]->update();
    }
}

void ColoursDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

void ColoursDialog::accept() {
    done(model_.Ok());
}

void ColoursDialog::reject() {
    done(model_.Cancel());
}

}  // namespace qm71
