#pragma once

#include <string>

namespace qm71 {

// What the programs tell the person at the machine. Every message is modal with
// a single OK button and returns when it was closed.
class Operator {
  public:
    virtual ~Operator() = default;
    // A message box. An empty caption means the program's name.
    virtual void Message(const std::string& text, const std::string& caption = {}) = 0;
    // The platform's default beep.
    virtual void Beep() = 0;
    // Wait cursor on (nested calls count).
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
};

// Shows the wait cursor for the life of the object.
class WaitCursor {
  public:
    explicit WaitCursor(Operator& op) : op_(op) { op_.BeginWait(); }
    ~WaitCursor() { op_.EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    Operator& op_;
};

}  // namespace qm71
