#include "platform/qt/serial_wait_box.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm71 {

SerialWaitBox::SerialWaitBox(QString text, std::chrono::milliseconds showAfter)
    : SerialWaitBoxBase(showAfter), text_(std::move(text)) {}

SerialWaitBox::~SerialWaitBox() {
    HideBox();
}

void SerialWaitBox::HandleEvents(bool all) {
    QCoreApplication::processEvents(all ? QEventLoop::AllEvents
                                        : QEventLoop::ExcludeUserInputEvents);
}

bool SerialWaitBox::ShowBox(const std::string& port) {
    auto* box = new QDialog(QApplication::activeWindow());
    box->setWindowTitle(QGuiApplication::applicationDisplayName());
    box->setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(new QLabel(text_.arg(QString::fromStdString(port)), box));
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), box);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
    // Escape, the close box and closing all windows end the wait as well.
    QObject::connect(box, &QDialog::rejected, box, [this] { Cancelled(); });
    box->show();
    // The wait cursor would hide that the box takes a click.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    arrowCursor_ = true;
    box_ = box;
    return true;
}

void SerialWaitBox::HideBox() {
    delete box_.data();
    if (arrowCursor_) QApplication::restoreOverrideCursor();
    arrowCursor_ = false;
}

}  // namespace qm71
