#include "platform/qt/serial_wait_box.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm71 {

SerialWaitBox::SerialWaitBox(QString text, std::chrono::milliseconds showAfter)
    : text_(std::move(text)), showAfter_(showAfter) {}

SerialWaitBox::~SerialWaitBox() {
    HideBox();
}

bool SerialWaitBox::KeepWaiting(const std::string& port, std::chrono::milliseconds waited) {
    waiting_ = true;
    if (!cancelled_ && !box_ && waited >= showAfter_) ShowBox(port);
    // Once the box is up it is modal: input reaches nothing but the box.
    QCoreApplication::processEvents(box_ ? QEventLoop::AllEvents
                                         : QEventLoop::ExcludeUserInputEvents);
    return !cancelled_;
}

void SerialWaitBox::WaitEnded() {
    HideBox();
    waiting_ = false;
    cancelled_ = false;
}

void SerialWaitBox::Cancel() {
    if (waiting_) cancelled_ = true;
}

void SerialWaitBox::ShowBox(const std::string& port) {
    auto* box = new QDialog(QApplication::activeWindow());
    box->setWindowTitle(QGuiApplication::applicationDisplayName());
    box->setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(new QLabel(text_.arg(QString::fromStdString(port)), box));
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), box);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::reject);
    // Escape, the close box and closing all windows end the wait as well.
    QObject::connect(box, &QDialog::rejected, box, [this] { cancelled_ = true; });
    box->show();
    // The wait cursor would hide that the box takes a click.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    arrowCursor_ = true;
    box_ = box;
}

void SerialWaitBox::HideBox() {
    delete box_.data();
    if (arrowCursor_) QApplication::restoreOverrideCursor();
    arrowCursor_ = false;
}

}  // namespace qm71
