#pragma once

#include <QImage>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>

#include "platform/accelerator.h"
#include "platform/window_host.h"

class QPainter;

namespace qm71 {

// A packed bitmap (info header, colour table, pixels) and the part of it, from
// its top-left corner as seen, that fills the whole client area.
struct DibPicture {
    std::span<const std::byte> block;
    int sourceWidth = 0;
    int sourceHeight = 0;
};

// A program's main window on the screen: a bare window that shows the picture
// through our DIB renderer (into a buffer the size of the client area, which
// Qt only copies), and passes size, mouse and keys to the window logic the
// subclass forwards to. Keys go through the program's accelerator table;
// commands the logic leaves go to `command`, the right button asks for the
// control panel. `stateChanged` hears every event after which acquisition may
// have to start or stop (a modal dialog, keys, the mouse).
class DibWindowWidget : public QWidget, public WindowHost {
  public:
    struct Handlers {
        std::function<void(int)> command;
        std::function<void()> close;
        std::function<void()> stateChanged;
    };

    DibWindowWidget(const QString& caption, std::span<const Accelerator> accelerators,
                    int panelCommand, Handlers handlers);

    // Moves it to its first rectangle, shows it and gives it the keyboard
    // focus: without a window manager nobody else would.
    void ShowAt(const Rect& window);

    // WindowHost
    void MoveWindow(const Rect& window) override;
    void Invalidate() override;
    void DrawNow() override;
    void RedrawOtherWindows() override;

    Rect FrameRect() const;

  protected:
    // The window logic's side.
    virtual std::optional<DibPicture> Picture() = 0;
    virtual void LogicSize(const Rect& client, const Rect& window) = 0;
    virtual bool LogicCommand(int id) = 0;
    virtual void LogicLButtonDown(Point screen) = 0;
    virtual void LogicMouseMove(Point screen, bool leftHeld) = 0;
    virtual void LogicLButtonUp() = 0;
    virtual void LogicModalChange(bool /*blocked*/) {}
    // Drawn over the picture by DrawNow only, not by a repaint.
    virtual void DrawLive(QPainter& /*painter*/) {}

    void StateChanged() { handlers_.stateChanged(); }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void ReportSize();
    void Render();

    std::span<const Accelerator> accelerators_;
    int panelCommand_;
    Handlers handlers_;
    QImage buffer_;
    bool live_ = false;
};

}  // namespace qm71
