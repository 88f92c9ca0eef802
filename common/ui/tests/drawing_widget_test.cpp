#include "common/ui/drawing_widget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRegion>
#include <vector>

#include "platform/dib/dib.h"
#include "testing/dib_picture.h"
#include "testing/qt_test_application.h"

namespace qm71 {
namespace {

constexpr QRgb kUntouched = 0xFF123456;

// Columns 2..13 of rows 1..6 of the test picture, doubled, at (5, 3) of a
// 48 x 24 client area, painted into `format` with the client area's (or
// `part`'s, when not empty) top-left corner at (3, 2). Checks every pixel.
void PaintAndCheck(QImage::Format format, const QRegion& part) {
    const auto block = testing::DibPicture();
    const Drawing d{.picture = block, .source = {2, 1, 14, 7}, .destination = {5, 3, 29, 15}};
    std::vector<std::uint32_t> expected(24 * 12);
    dib::DrawDib(*dib::ViewPackedDib(block), {2, 1, 12, 6}, {expected.data(), 24, 12, 24});

    DrawingWidget widget(nullptr, {}, [] {});
    widget.resize(48, 24);
    widget.Show(d);
    QImage target(56, 30, format);
    target.fill(kUntouched);
    widget.render(&target, QPoint(3, 2), part, QWidget::RenderFlags());
    const QRegion painted = part.isEmpty() ? QRegion(0, 0, 48, 24) : part;
    const QPoint origin = painted.boundingRect().topLeft() - QPoint(3, 2);
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            const int cx = x + origin.x();
            const int cy = y + origin.y();
            QRgb want = kUntouched;
            if (painted.contains(QPoint(cx, cy))) {
                const bool inside = cx >= 5 && cx < 29 && cy >= 3 && cy < 15;
                want = inside ? expected[(cy - 3) * 24 + (cx - 5)] : 0xFF000000;
            }
            ASSERT_EQ(target.pixel(x, y), want) << format << " at " << cx << "," << cy;
        }
    }
}

TEST(DrawingWidget, ThePictureLandsInItsPlacePixelForPixelWithBlackAroundAndNothingElseTouched) {
    // Drawn straight into 32-bit images, through a copy into others.
    for (const QImage::Format f :
         {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888})
        PaintAndCheck(f, QRegion());
    // A part of the window only: what lies outside it stays as it was.
    PaintAndCheck(QImage::Format_RGB32, QRegion(0, 0, 20, 24));
    PaintAndCheck(QImage::Format_RGB32, QRegion(10, 5, 10, 4));
}

}  // namespace
}  // namespace qm71
