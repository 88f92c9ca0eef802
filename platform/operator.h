#pragma once

#include <cstdint>
#include <string>

namespace qm71 {

// How a message box looks beside its text and caption: with the error icon or
// none, and owned by the window that is active (it stays in front of it and
// blocks it) or by no window.
struct MessageStyle {
    enum class Icon : std::uint8_t { None, Error };
    enum class Owner : std::uint8_t { ActiveWindow, None };
    Icon icon = Icon::None;
    Owner owner = Owner::ActiveWindow;
    bool operator==(const MessageStyle&) const = default;
};
inline constexpr MessageStyle kUnownedBox{MessageStyle::Icon::None, MessageStyle::Owner::None};

// What the programs tell the person at the machine. Every message is modal with
// a single OK button and returns when it was closed.
class Operator {
  public:
    virtual ~Operator() = default;
    // A message box. An empty caption means the program's name.
    virtual void Message(const std::string& text, const std::string& caption = {},
                         MessageStyle style = {}) = 0;
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
