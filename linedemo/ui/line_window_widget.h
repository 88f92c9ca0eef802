#pragma once

#include "common/ui/main_window_widget.h"
#include "linedemo/core/line_image_window.h"

namespace qm71 {

class LineDemoApp;

// The line demo's main window on the screen. Besides what every main window
// passes on, it tells the logic of keyboard focus and the Alt key, both of
// which pause acquisition, and writes "Idle N" over each live drawing. Its
// commands go to the program logic, which keeps live mode.
class LineWindowWidget final : public MainWindowWidget<LineImageWindow> {
  public:
    LineWindowWidget(LineDemoApp& app, Handlers handlers);

  protected:
    std::optional<DibPicture> Picture() override;
    bool LogicCommand(int id) override;
    void LogicModalChange(bool blocked) override;
    void DrawLive(QPainter& painter) override;

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    LineDemoApp& app_;
};

}  // namespace qm71
