#include "viewer/ui/image_window_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/dib/dib.h"
#include "platform/qt/accelerators.h"
#include "resources/qm/commands.h"
#include "viewer/core/image_window.h"
#include "viewer/core/window_geometry.h"

namespace qm71 {

namespace {
Point ScreenPoint(const QMouseEvent* e) {
    const QPoint p = e->globalPosition().toPoint();
    return {p.x(), p.y()};
}
}  // namespace

ImageWindowWidget::ImageWindowWidget(ImageWindow& logic, std::function<void(int)> onCommand,
                                     std::function<void()> onClose,
                                     std::function<void()> onModalChange)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      logic_(logic),
      onCommand_(std::move(onCommand)),
      onClose_(std::move(onClose)),
      onModalChange_(std::move(onModalChange)) {
    setWindowTitle(QStringLiteral("PXA1/PXB1"));
    // We paint every pixel ourselves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
}

Rect ImageWindowWidget::FrameRect() const {
    const QRect f = frameGeometry();
    return RectAt(f.left(), f.top(), f.width(), f.height());
}

void ImageWindowWidget::MoveWindow(const Rect& window) {
    // The rectangle includes frame and caption; Qt places the frame and sizes
    // the client area.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int extraW = frame.width() - client.width();
    const int extraH = frame.height() - client.height();
    // Qt adds sizes and frame margins to window positions in plain int. A
    // place near the end of int (from a damaged qm71.ini) is held to Qt's own
    // bound for sizes: off every screen as asked, and safe to add a size to.
    move(std::clamp(window.left, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
         std::clamp(window.top, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    resize(std::max(1, window.Width() - extraW), std::max(1, window.Height() - extraH));
}

void ImageWindowWidget::Invalidate() {
    update();
}

void ImageWindowWidget::DrawNow() {
    repaint();
}

void ImageWindowWidget::RedrawOtherWindows() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->repaint();
}

ColouringSettings& ImageWindowWidget::Colouring() {
    return logic_.Settings().colouring;
}

void ImageWindowWidget::BuildColorTable() {
    logic_.BuildColorTable();
}

const std::array<PaletteEntry, 256>& ImageWindowWidget::DisplayPalette() const {
    return logic_.DisplayPalette();
}

void ImageWindowWidget::Render() {
    if (buffer_.size() != size()) buffer_ = QImage(size(), QImage::Format_RGB32);
    const DisplayImage* image = logic_.Image();
    std::optional<dib::DibView> view;
    if (image) view = dib::ViewPackedDib(image->Block());
    if (!view) {
        buffer_.fill(Qt::black);
        return;
    }
    dib::Surface surface{reinterpret_cast<std::uint32_t*>(buffer_.bits()), buffer_.width(),
                         buffer_.height(), buffer_.bytesPerLine() / 4};
    dib::DrawDib(*view, {0, 0, logic_.SourceWidth(), logic_.SourceHeight()}, surface);
}

bool ImageWindowWidget::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowBlocked || type == QEvent::WindowUnblocked) onModalChange_();
    return QWidget::event(event);
}

void ImageWindowWidget::paintEvent(QPaintEvent*) {
    Render();
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
}

void ImageWindowWidget::ReportSize() {
    logic_.OnSize({0, 0, width(), height()}, FrameRect());
}

void ImageWindowWidget::resizeEvent(QResizeEvent*) {
    ReportSize();
}

void ImageWindowWidget::moveEvent(QMoveEvent*) {
    ReportSize();
}

void ImageWindowWidget::keyPressEvent(QKeyEvent* event) {
    const int command = TranslateAccelerator(*event, qm::kViewerAccelerators);
    if (command == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!logic_.Command(command)) onCommand_(command);
}

void ImageWindowWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) logic_.OnLButtonDown(ScreenPoint(event));
    if (event->button() == Qt::RightButton) onCommand_(qm::ID_CONTROL_PANEL);
}

void ImageWindowWidget::mouseMoveEvent(QMouseEvent* event) {
    logic_.OnMouseMove(ScreenPoint(event), event->buttons() & Qt::LeftButton);
}

void ImageWindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) logic_.OnLButtonUp();
}

void ImageWindowWidget::closeEvent(QCloseEvent* event) {
    onClose_();
    event->accept();
}

}  // namespace qm71
