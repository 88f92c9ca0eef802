#pragma once

#include <functional>

class QObject;

namespace qm71 {

// Runs `onRequest` in the event loop when the process receives SIGTERM or
// SIGINT, so that a termination request ends the program the same way as its
// own "end" command. The request is served for as long as `owner` lives.
void OnTerminationRequest(QObject* owner, std::function<void()> onRequest);

}  // namespace qm71
