#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <chrono>
#include <string>

#include "platform/serial_line.h"

namespace qm71 {

// Keeps a Qt program alive while a serial line waits on its one thread. Each
// time the line asks, the pending events are handled, so windows repaint and
// a termination request is heard. Input is held back until the box is up, so
// that nothing re-enters the dialog that waits. After `showAfter` a small
// modal box says what the program waits for; "Abbrechen" (or closing the box)
// ends the wait.
class SerialWaitBox final : public SerialWaitWatcher {
  public:
    // `text` says what is awaited; "%1" is replaced by the port's name.
    explicit SerialWaitBox(QString text,
                           std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~SerialWaitBox() override;
    SerialWaitBox(const SerialWaitBox&) = delete;
    SerialWaitBox& operator=(const SerialWaitBox&) = delete;

    bool KeepWaiting(const std::string& port, std::chrono::milliseconds waited) override;
    void WaitEnded() override;

    // Ends the wait under way at once, as Abbrechen does; outside a wait it
    // does nothing. For a termination request, which arrives during the wait.
    void Cancel();
    // The box while it is shown.
    QDialog* Box() const { return box_; }

  private:
    void ShowBox(const std::string& port);
    void HideBox();

    QString text_;
    std::chrono::milliseconds showAfter_;
    QPointer<QDialog> box_;
    bool waiting_ = false;
    bool cancelled_ = false;
    bool arrowCursor_ = false;
};

}  // namespace qm71
