#include "common/ui/info_dialog.h"

#include <QPixmap>

#include "resources/icons/icons.h"
#include "ui_info.h"

namespace qm71 {

InfoDialog::InfoDialog(const ProgramInfo& program, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::InfoDialog>()) {
    InitIcons();
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const InfoBox box(program);
    ui_->iconLabel->setPixmap(QPixmap(QString::fromStdString(box.icon)));
    ui_->productLabel->setText(QString::fromStdString(box.product));
    ui_->versionLabel->setText(QString::fromStdString(box.version));
    ui_->okButton->setText(QString::fromStdString(box.okButton));
    connect(ui_->okButton, &QAbstractButton::clicked, this, [this] { done(InfoBox::kResultOk); });
}

InfoDialog::~InfoDialog() = default;

void InfoDialog::reject() {
    done(InfoBox::kResultCancel);
}

}  // namespace qm71
