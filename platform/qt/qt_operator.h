#pragma once

#include <QString>

#include "platform/operator.h"

class QWidget;

namespace qm71 {

// Message boxes, beeps and the wait cursor through Qt.
class QtOperator final : public Operator {
  public:
    // `programName` is the caption of a message box that names none.
    explicit QtOperator(QString programName) : programName_(std::move(programName)) {}
    void Message(const std::string& text, const std::string& caption = {},
                 MessageStyle style = {}) override;
    void Beep() override;
    void BeginWait() override;
    void EndWait() override;

  private:
    QString programName_;
};

}  // namespace qm71
