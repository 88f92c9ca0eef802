#include "sample/ui/about_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "sample/core/about_box_model.h"

namespace qm71::sample {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    using M = AboutBoxModel;
    setWindowTitle(QString::fromUtf8(M::kCaption));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QString::fromUtf8(M::kIcon)).scaled(48, 48));
    layout->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    int row = 0;
    for (const char* line : M::kLines)
        layout->addWidget(new QLabel(QString::fromUtf8(line), this), row++, 1);
    auto* ok = new QPushButton(QString::fromUtf8(M::kOkText), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (const auto result = M::Press(M::kOkId)) done(*result);
    });
    layout->addWidget(ok, row, 1, Qt::AlignRight);
}

void AboutBox::reject() {
    if (const auto result = AboutBoxModel::Press(AboutBoxModel::kCancelId)) done(*result);
}

}  // namespace qm71::sample
