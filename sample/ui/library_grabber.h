#pragma once

#include "sample/core/sample_app.h"

namespace qm71::sample {

// The grab commands' entries bound to the acquisition library: the grab
// target becomes the library's frame descriptor field by field. The card
// ports must have been installed in the library.
class LibraryGrabber final : public FrameGrabber {
  public:
    void Grab(Entry entry, GrabTarget& target) override;
};

}  // namespace qm71::sample
