#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <chrono>
#include <string>

#include "platform/serial_wait_box.h"

namespace qm71 {

// The serial wait box of a Qt program (see SerialWaitBoxBase): a small modal
// dialog with "Abbrechen".
class SerialWaitBox final : public SerialWaitBoxBase {
  public:
    // `text` says what is awaited; "%1" is replaced by the port's name.
    explicit SerialWaitBox(QString text,
                           std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~SerialWaitBox() override;
    SerialWaitBox(const SerialWaitBox&) = delete;
    SerialWaitBox& operator=(const SerialWaitBox&) = delete;

    // The box while it is shown.
    QDialog* Box() const { return box_; }

  private:
    bool ShowBox(const std::string& port) override;
    void HideBox() override;
    void HandleEvents(bool all) override;

    QString text_;
    QPointer<QDialog> box_;
    bool arrowCursor_ = false;
};

}  // namespace qm71
