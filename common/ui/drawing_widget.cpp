#include "common/ui/drawing_widget.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>

#include "common/window_rect.h"
#include "platform/dib/dib.h"

namespace qm71 {

DrawingWidget::DrawingWidget(QWidget* parent, Qt::WindowFlags flags, std::function<void()> resized)
    : QWidget(parent, flags), resized_(std::move(resized)) {
    // We paint every pixel ourselves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void DrawingWidget::Show(const Drawing& drawing) {
    shown_ = drawing;
    update();
}

void DrawingWidget::PaintNow(const Drawing& drawing) {
    shown_ = drawing;
    shown_.text.clear();
    now_ = &drawing;
    repaint();
    now_ = nullptr;
}

namespace {

// Where the raster engine paints into a 32-bit image one to one and the place
// lies whole inside the part being painted (in a window's backing store, as a
// rule): the place there, to be drawn into directly. Without pixels otherwise.
dib::Surface DirectSurface(QPainter& painter, const QRect& place, const QRegion& painted) {
    if (!(QRegion(place) - painted).isEmpty()) return {};
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) return {};
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 &&
        image->format() != QImage::Format_ARGB32_Premultiplied)
        return {};
    const QTransform& t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || image->devicePixelRatio() != 1.0) return {};
    const QRect at = place.translated(qRound(t.dx()), qRound(t.dy()));
    if (!image->rect().contains(at)) return {};
    const std::ptrdiff_t stride = image->bytesPerLine() / 4;
    return {reinterpret_cast<std::uint32_t*>(image->bits()) + at.top() * stride + at.left(),
            place.width(), place.height(), stride};
}

}  // namespace

void DrawingWidget::paintEvent(QPaintEvent* event) {
    const Drawing& d = now_ ? *now_ : shown_;
    QPainter painter(this);
    const Rect& from = d.source;
    const Rect& to = d.destination;
    const QRect place(to.left, to.top, to.Width(), to.Height());
    const auto view = dib::ViewPackedDib(d.picture);
    if (view && !place.isEmpty() && from.Width() > 0 && from.Height() > 0) {
        const dib::SourceRect part{from.left, from.top, from.Width(), from.Height()};
        if (const dib::Surface direct = DirectSurface(painter, place, event->region());
            direct.pixels) {
            // Straight into the window's pixels: one pass less over them.
            buffer_ = QImage();
            dib::DrawDib(*view, part, direct);
        } else {
            if (buffer_.size() != place.size())
                buffer_ = QImage(place.size(), QImage::Format_RGB32);
            dib::DrawDib(*view, part,
                         {reinterpret_cast<std::uint32_t*>(buffer_.bits()), buffer_.width(),
                          buffer_.height(), buffer_.bytesPerLine() / 4});
            painter.drawImage(place.topLeft(), buffer_);
        }
        for (const QRect& around : QRegion(rect()) - place) painter.fillRect(around, Qt::black);
    } else {
        painter.fillRect(rect(), Qt::black);
    }
    if (d.text.empty()) return;
    // Black on white, the text's top-left corner at its position.
    const QString text = QString::fromStdString(d.text);
    const QPoint baseline(d.textAt.x, d.textAt.y + painter.fontMetrics().ascent());
    painter.fillRect(painter.fontMetrics().boundingRect(text).translated(baseline), Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(baseline, text);
}

void DrawingWidget::resizeEvent(QResizeEvent*) {
    resized_();
}

Rect WindowFrameRect(const QWidget& window) {
    const QRect f = window.frameGeometry();
    return RectAt(f.left(), f.top(), f.width(), f.height());
}

void MoveWindowFrame(QWidget& window, const Rect& frame) {
    // Qt places the frame and sizes what lies inside it.
    const int extraW = window.frameGeometry().width() - window.width();
    const int extraH = window.frameGeometry().height() - window.height();
    // Qt adds sizes and frame margins to window positions in plain int. A
    // place near the end of int (from a damaged settings file) is held to
    // Qt's own bound for sizes: off every screen as asked, and safe to add a
    // size to.
    window.move(std::clamp(frame.left, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
                std::clamp(frame.top, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    window.resize(std::max(1, frame.Width() - extraW), std::max(1, frame.Height() - extraH));
}

void RedrawOtherWindows(const QWidget& window) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != &window && w->isVisible()) w->repaint();
}

}  // namespace qm71
