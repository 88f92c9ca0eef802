#pragma once

#include <QImage>
#include <QMainWindow>
#include <functional>

#include "sample/core/sample_app.h"

namespace qm71::sample {

// The sample's main window: the menu bar and a client area that shows the
// last frame 1:1 from the top-left corner, drawn from the frame block as it
// is stored (bottom-up rows) through our DIB renderer into a buffer that Qt
// only copies. Commands go to `command`; F1..F8 are the grab keys.
class SampleWindow final : public QMainWindow {
  public:
    SampleWindow(SampleApp& app, std::function<void(int)> command);

    // Moves the window to a quarter of the screen with this client size.
    void PlaceClient(int width, int height);
    // Sizes the client to the last frame and draws it before returning.
    void ShowFrame();

    // The client area as drawn last, for tests and screenshots.
    const QImage& Drawn() const { return buffer_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    class Client;
    void BuildMenus();
    void Render(QImage& target);

    SampleApp& app_;
    std::function<void(int)> command_;
    Client* client_;
    QImage buffer_;
};

}  // namespace qm71::sample
