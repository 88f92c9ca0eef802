#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/window_host.h"

namespace qm71 {

// A client area that paints what its window logic told it: the picture
// through our DIB renderer into a buffer the size of its place (which Qt only
// copies), black around it, the text over it.
class DrawingWidget : public QWidget {
  public:
    // `resized` hears every change of the widget's size.
    DrawingWidget(QWidget* parent, Qt::WindowFlags flags, std::function<void()> resized);

    // What paints show from now on; repainted soon.
    void Show(const Drawing& drawing);
    // Paints `drawing` now, once.
    void PaintNow(const Drawing& drawing);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::function<void()> resized_;
    Drawing shown_;
    const Drawing* now_ = nullptr;
    QImage buffer_;
};

// A top-level window's whole rectangle, frame and caption included.
Rect WindowFrameRect(const QWidget& window);
// Moves and sizes a top-level window so that its whole rectangle is `frame`.
void MoveWindowFrame(QWidget& window, const Rect& frame);
// Repaints every other visible top-level window.
void RedrawOtherWindows(const QWidget& window);

}  // namespace qm71
