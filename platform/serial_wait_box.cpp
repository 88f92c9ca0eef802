#include "platform/serial_wait_box.h"

namespace qm71 {

bool SerialWaitBoxBase::KeepWaiting(const std::string& port, std::chrono::milliseconds waited) {
    waiting_ = true;
    if (!cancelled_ && !shown_ && waited >= showAfter_) shown_ = ShowBox(port);
    // Once the box is up it is modal: input reaches nothing but the box.
    HandleEvents(shown_);
    return !cancelled_;
}

void SerialWaitBoxBase::WaitEnded() {
    if (shown_) HideBox();
    shown_ = false;
    waiting_ = false;
    cancelled_ = false;
}

}  // namespace qm71
