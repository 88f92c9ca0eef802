#include "common/ui/dib_window_widget.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/accelerators.h"

namespace qm71 {

namespace {
Point ScreenPoint(const QMouseEvent* e) {
    const QPoint p = e->globalPosition().toPoint();
    return {p.x(), p.y()};
}
}  // namespace

DibWindowWidget::DibWindowWidget(WindowEvents& logic, const QString& caption, Handlers handlers)
    : DrawingWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint,
                    [this] { ReportSize(); }),
      logic_(logic),
      handlers_(std::move(handlers)) {
    setWindowTitle(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
}

void DibWindowWidget::ShowAt(const Rect& window) {
    MoveWindow(window);
    show();
    MoveWindow(window);  // again, now that the frame is known
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void DibWindowWidget::ReportSize() {
    logic_.OnSize({0, 0, width(), height()}, FrameRect());
}

void DibWindowWidget::Done(int command) {
    if (command != 0) handlers_.command(command);
    handlers_.stateChanged();
}

bool DibWindowWidget::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowBlocked || type == QEvent::WindowUnblocked) {
        logic_.OnModal(type == QEvent::WindowBlocked);
        // The dialog is gone: the keys come back here, also where no window
        // manager hands them back.
        if (type == QEvent::WindowUnblocked) activateWindow();
        Done();
    }
    return DrawingWidget::event(event);
}

void DibWindowWidget::moveEvent(QMoveEvent*) {
    ReportSize();
}

void DibWindowWidget::keyPressEvent(QKeyEvent* event) {
    const KeyPress key = KeyOf(*event);
    if (key.key != 0) Done(logic_.OnKeyDown(key.key, key.modifiers));
}

void DibWindowWidget::keyReleaseEvent(QKeyEvent* event) {
    const KeyPress key = KeyOf(*event);
    if (key.key != 0 && !event->isAutoRepeat()) {
        logic_.OnKeyUp(key.key);
        Done();
    }
}

void DibWindowWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) logic_.OnLButtonDown(ScreenPoint(event));
    Done(event->button() == Qt::RightButton ? logic_.OnRButtonDown() : 0);
}

void DibWindowWidget::mouseMoveEvent(QMouseEvent* event) {
    logic_.OnMouseMove(ScreenPoint(event), event->buttons() & Qt::LeftButton);
    Done();
}

void DibWindowWidget::mouseReleaseEvent(QMouseEvent*) {
    logic_.OnButtonUp();
    Done();
}

void DibWindowWidget::focusInEvent(QFocusEvent*) {
    logic_.OnSetFocus(ModifiersOf(QGuiApplication::queryKeyboardModifiers()));
    Done();
}

void DibWindowWidget::focusOutEvent(QFocusEvent*) {
    logic_.OnKillFocus();
    Done();
}

void DibWindowWidget::closeEvent(QCloseEvent* event) {
    handlers_.close();
    event->accept();
}

}  // namespace qm71
