#include "platform/qt/qt_operator.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace qm71 {

void QtOperator::Message(const std::string& text, const std::string& caption, MessageStyle style) {
    QMessageBox box(
        style.icon == MessageStyle::Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
        caption.empty() ? programName_ : QString::fromStdString(caption),
        QString::fromStdString(text), QMessageBox::Ok,
        style.owner == MessageStyle::Owner::ActiveWindow ? QApplication::activeWindow() : nullptr);
    // The wait cursor must not hide that the program waits for the person now.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
}

void QtOperator::Beep() {
    QApplication::beep();
}

void QtOperator::BeginWait() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtOperator::EndWait() {
    QApplication::restoreOverrideCursor();
}

}  // namespace qm71
