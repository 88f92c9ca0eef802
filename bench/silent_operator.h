#pragma once

#include <string>

#include "platform/operator.h"

namespace qm71::bench {

// Benchmarks show no boxes and no wait cursor.
class SilentOperator final : public Operator {
  public:
    void Message(const std::string&, const std::string&, MessageStyle) override {}
    void Beep() override {}
    void BeginWait() override {}
    void EndWait() override {}
};

}  // namespace qm71::bench
