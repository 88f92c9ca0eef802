#pragma once

#include <QMainWindow>
#include <functional>

#include "common/ui/drawing_widget.h"
#include "platform/window_host.h"
#include "sample/core/sample_app.h"

namespace qm71::sample {

// The sample's main window: the menu bar over a client area that paints what
// the program logic tells it. Menu commands go to `command`; keys, moves and
// size changes to the logic.
class SampleWindow final : public QMainWindow, public WindowHost {
  public:
    SampleWindow(SampleApp& app, std::function<void(int)> command);

    // Moves it to its first rectangle and shows it.
    void ShowAt(const Rect& window);

    // WindowHost
    void MoveWindow(const Rect& window) override { MoveWindowFrame(*this, window); }
    void Invalidate(const Drawing& drawing) override { client_->Show(drawing); }
    void DrawNow(const Drawing& drawing) override { client_->PaintNow(drawing); }
    void RedrawOtherWindows() override { qm71::RedrawOtherWindows(*this); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void BuildMenus();
    void ReportSize();

    SampleApp& app_;
    std::function<void(int)> command_;
    DrawingWidget* client_;
};

}  // namespace qm71::sample
