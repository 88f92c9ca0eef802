#pragma once

#include <functional>

namespace qm71 {

// Runs `onRequest` in the event loop when the process receives SIGTERM or
// SIGINT, so that a termination request ends the program the same way as its
// own "end" command. Call once, after the QApplication exists.
void OnTerminationRequest(std::function<void()> onRequest);

}  // namespace qm71
