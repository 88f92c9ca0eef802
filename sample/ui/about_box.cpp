#include "sample/ui/about_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace qm71::sample {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("QM71 Library Sample Application 32-Bit "));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/qm71sample.png")).scaled(48, 48));
    layout->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    int row = 0;
    for (const char* line : {"QM71 Kamera-Interface", "QM-71",
                             "Muster Kamerasysteme GmbH\nMusterstraße 1\n12345 Musterstadt",
                             "32-Bit-Sample-Application", "Windows 9x 32- Bit- Version"})
        layout->addWidget(new QLabel(QString::fromUtf8(line), this), row++, 1);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });
    layout->addWidget(ok, row, 1, Qt::AlignRight);
}

}  // namespace qm71::sample
