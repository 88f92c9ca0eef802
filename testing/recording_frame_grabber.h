#pragma once

#include <vector>

#include "sample/core/sample_app.h"

namespace qm71::testing {

// Stands in for the acquisition library: keeps each call and the descriptor
// it was given.
class RecordingFrameGrabber final : public sample::FrameGrabber {
  public:
    struct Grabbed {
        sample::Entry entry;
        sample::GrabTarget target;
    };
    void Grab(sample::Entry entry, sample::GrabTarget& target) override {
        calls.push_back({entry, target});
    }
    std::vector<Grabbed> calls;
};

}  // namespace qm71::testing
