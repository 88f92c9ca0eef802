#include "sample/ui/size_dialog.h"

#include <QLineEdit>

#include "resources/sample/commands.h"
#include "ui_size_dialog.h"

namespace qm71::sample {

SizeDialog::SizeDialog(SampleState& state, QWidget* parent)
    : QDialog(parent), model_(state), ui_(std::make_unique<Ui::SizeDialog>()) {
    ui_->setupUi(this);
    ui_->widthEdit->setText(QString::fromStdString(model_.WidthText()));
    ui_->heightEdit->setText(QString::fromStdString(model_.HeightText()));
    ui_->ilutEdit->setText(QString::fromStdString(model_.IlutText()));
    // The buttons keep no state of their own: every click goes to the model
    // and the buttons are set again from it.
    for (int id = IDC_AVERAGING_FIRST; id <= IDC_AVERAGING_LAST; ++id)
        connect(Button(id), &QAbstractButton::clicked, this, [this, id] {
            model_.ChooseAveraging(id);
            ShowChoices();
        });
    connect(ui_->contrastBox, &QAbstractButton::clicked, this, [this] {
        model_.ToggleContrast();
        ShowChoices();
    });
    connect(ui_->okButton, &QAbstractButton::clicked, this, &SizeDialog::accept);
    connect(ui_->cancelButton, &QAbstractButton::clicked, this, &SizeDialog::reject);
    ShowChoices();
}

SizeDialog::~SizeDialog() = default;

void SizeDialog::accept() {
    done(model_.Accept(ui_->widthEdit->text().toStdString(), ui_->heightEdit->text().toStdString(),
                       ui_->ilutEdit->text().toStdString()));
}

void SizeDialog::reject() {
    done(model_.Cancel());
}

QAbstractButton* SizeDialog::Button(int id) const {
    QAbstractButton* const averaging[] = {ui_->averaging0, ui_->averaging1, ui_->averaging2,
                                          ui_->averaging3, ui_->averaging4, ui_->averaging5,
                                          ui_->averaging6, ui_->averaging7, ui_->averaging8};
    if (id >= IDC_AVERAGING_FIRST && id <= IDC_AVERAGING_LAST)
        return averaging[id - IDC_AVERAGING_FIRST];
    if (id == IDC_CONTRAST) return ui_->contrastBox;
    if (id == 1) return ui_->okButton;
    if (id == 2) return ui_->cancelButton;
    return nullptr;
}

void SizeDialog::SetField(int id, const QString& text) {
    if (id == IDC_WIDTH) ui_->widthEdit->setText(text);
    if (id == IDC_HEIGHT) ui_->heightEdit->setText(text);
    if (id == IDC_ILUT) ui_->ilutEdit->setText(text);
}

void SizeDialog::ShowChoices() {
    for (int id = IDC_AVERAGING_FIRST; id <= IDC_AVERAGING_LAST; ++id)
        Button(id)->setChecked(id == model_.CheckedAveragingId());
    ui_->contrastBox->setChecked(model_.ContrastChecked());
}

}  // namespace qm71::sample
