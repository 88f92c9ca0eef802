#include "common/ui/dib_window_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "common/window_rect.h"
#include "platform/dib/dib.h"
#include "platform/qt/accelerators.h"

namespace qm71 {

namespace {
Point ScreenPoint(const QMouseEvent* e) {
    const QPoint p = e->globalPosition().toPoint();
    return {p.x(), p.y()};
}
}  // namespace

DibWindowWidget::DibWindowWidget(const QString& caption, std::span<const Accelerator> accelerators,
                                 int panelCommand, Handlers handlers)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      accelerators_(accelerators),
      panelCommand_(panelCommand),
      handlers_(std::move(handlers)) {
    setWindowTitle(caption);
    // We paint every pixel ourselves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
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

Rect DibWindowWidget::FrameRect() const {
    const QRect f = frameGeometry();
    return RectAt(f.left(), f.top(), f.width(), f.height());
}

void DibWindowWidget::MoveWindow(const Rect& window) {
    // The rectangle includes frame and caption; Qt places the frame and sizes
    // the client area.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int extraW = frame.width() - client.width();
    const int extraH = frame.height() - client.height();
    // Qt adds sizes and frame margins to window positions in plain int. A
    // place near the end of int (from a damaged settings file) is held to
    // Qt's own bound for sizes: off every screen as asked, and safe to add a
    // size to.
    move(std::clamp(window.left, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
         std::clamp(window.top, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    resize(std::max(1, window.Width() - extraW), std::max(1, window.Height() - extraH));
}

void DibWindowWidget::Invalidate() {
    update();
}

void DibWindowWidget::DrawNow() {
    live_ = true;
    repaint();
    live_ = false;
}

void DibWindowWidget::RedrawOtherWindows() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->repaint();
}

void DibWindowWidget::Render() {
    if (buffer_.size() != size()) buffer_ = QImage(size(), QImage::Format_RGB32);
    const std::optional<DibPicture> picture = Picture();
    std::optional<dib::DibView> view;
    if (picture) view = dib::ViewPackedDib(picture->block);
    if (!view) {
        buffer_.fill(Qt::black);
        return;
    }
    dib::Surface surface{reinterpret_cast<std::uint32_t*>(buffer_.bits()), buffer_.width(),
                         buffer_.height(), buffer_.bytesPerLine() / 4};
    dib::DrawDib(*view, {0, 0, picture->sourceWidth, picture->sourceHeight}, surface);
}

bool DibWindowWidget::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowBlocked || type == QEvent::WindowUnblocked) {
        LogicModalChange(type == QEvent::WindowBlocked);
        // The dialog is gone: the keys come back here, also where no window
        // manager hands them back.
        if (type == QEvent::WindowUnblocked) activateWindow();
        StateChanged();
    }
    return QWidget::event(event);
}

void DibWindowWidget::paintEvent(QPaintEvent*) {
    Render();
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
    if (live_) DrawLive(painter);
}

void DibWindowWidget::ReportSize() {
    LogicSize({0, 0, width(), height()}, FrameRect());
}

void DibWindowWidget::resizeEvent(QResizeEvent*) {
    ReportSize();
}

void DibWindowWidget::moveEvent(QMoveEvent*) {
    ReportSize();
}

void DibWindowWidget::keyPressEvent(QKeyEvent* event) {
    const int command = TranslateAccelerator(*event, accelerators_);
    if (command == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!LogicCommand(command)) handlers_.command(command);
    StateChanged();
}

void DibWindowWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) LogicLButtonDown(ScreenPoint(event));
    if (event->button() == Qt::RightButton) handlers_.command(panelCommand_);
    StateChanged();
}

void DibWindowWidget::mouseMoveEvent(QMouseEvent* event) {
    LogicMouseMove(ScreenPoint(event), event->buttons() & Qt::LeftButton);
}

void DibWindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) LogicLButtonUp();
    StateChanged();
}

void DibWindowWidget::closeEvent(QCloseEvent* event) {
    handlers_.close();
    event->accept();
}

}  // namespace qm71
