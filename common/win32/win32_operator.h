#pragma once

#include <string>

#include "platform/operator.h"

namespace qm71 {

// Message boxes, beeps and the wait cursor of a Win32 program.
class Win32Operator final : public Operator {
  public:
    explicit Win32Operator(std::string programName) : programName_(std::move(programName)) {}

    void Message(const std::string& text, const std::string& caption = {},
                 MessageStyle style = {}) override;
    void Beep() override;
    void BeginWait() override;
    void EndWait() override;

  private:
    std::string programName_;
    int waits_ = 0;
};

}  // namespace qm71
