#pragma once

#include <string>
#include <vector>

#include "platform/operator.h"

namespace qm71::testing {

// Records what the program would show instead of showing it.
class RecordingOperator final : public Operator {
  public:
    std::vector<std::string> messages;
    std::vector<std::string> captions;  // empty: the program's name
    std::vector<MessageStyle> styles;
    std::vector<int> waitDepthAtMessage;
    int waitDepth = 0;
    int waitCalls = 0;
    int beeps = 0;

    void Message(const std::string& text, const std::string& caption = {},
                 MessageStyle style = {}) override {
        messages.push_back(text);
        captions.push_back(caption);
        styles.push_back(style);
        waitDepthAtMessage.push_back(waitDepth);
    }
    void Beep() override { ++beeps; }
    void BeginWait() override {
        ++waitDepth;
        ++waitCalls;
    }
    void EndWait() override { --waitDepth; }
};

}  // namespace qm71::testing
