#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "common/ui/colours_host.h"
#include "platform/window_host.h"

namespace qm71 {

class ImageWindow;

// The viewer's main window on the screen: a bare window that shows the
// picture, passes size, mouse and keys to the window logic and draws through
// our DIB renderer. Commands the logic leaves to its owner go to `onCommand`;
// `onModalChange` hears when a modal dialog starts or stops blocking the window.
class ImageWindowWidget final : public QWidget, public WindowHost, public ColoursHost {
  public:
    ImageWindowWidget(ImageWindow& logic, std::function<void(int)> onCommand,
                      std::function<void()> onClose, std::function<void()> onModalChange);

    // WindowHost
    void MoveWindow(const Rect& window) override;
    void Invalidate() override;
    void DrawNow() override;
    void RedrawOtherWindows() override;

    // ColoursHost
    ColouringSettings& Colouring() override;
    void BuildColorTable() override;
    const std::array<PaletteEntry, 256>& DisplayPalette() const override;

    Rect FrameRect() const;

  protected:
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

    ImageWindow& logic_;
    std::function<void(int)> onCommand_;
    std::function<void()> onClose_;
    std::function<void()> onModalChange_;
    QImage buffer_;
};

}  // namespace qm71
