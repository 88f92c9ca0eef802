#pragma once

#include <functional>

#include "common/ui/drawing_widget.h"
#include "platform/window_host.h"

namespace qm71 {

// A program's main window on the screen: a bare window that paints what its
// window logic tells it and reports size, mouse, keys, focus and modal
// dialogs to that logic. Commands the logic leaves go to `command`;
// `stateChanged` hears every event after which acquisition may have to start
// or stop.
class DibWindowWidget : public DrawingWidget, public WindowHost {
  public:
    struct Handlers {
        std::function<void(int)> command;
        std::function<void()> close;
        std::function<void()> stateChanged;
    };

    DibWindowWidget(WindowEvents& logic, const QString& caption, Handlers handlers);

    // Moves it to its first rectangle, shows it and gives it the keyboard
    // focus: without a window manager nobody else would.
    void ShowAt(const Rect& window);

    // WindowHost
    void MoveWindow(const Rect& window) override { MoveWindowFrame(*this, window); }
    void Invalidate(const Drawing& drawing) override { Show(drawing); }
    void DrawNow(const Drawing& drawing) override { PaintNow(drawing); }
    void RedrawOtherWindows() override { qm71::RedrawOtherWindows(*this); }

    Rect FrameRect() const { return WindowFrameRect(*this); }

  protected:
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void ReportSize();
    // After an event: what the logic left, then the acquisition state.
    void Done(int command = 0);

    WindowEvents& logic_;
    Handlers handlers_;
};

}  // namespace qm71
