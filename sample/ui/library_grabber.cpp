#include "sample/ui/library_grabber.h"

#include "portlib/qm71port.h"

namespace qm71::sample {

void LibraryGrabber::Grab(Entry entry, GrabTarget& target) {
    using EntryFunction = int (*)(const FrameDescriptor*);
    // In the order of Entry.
    static constexpr EntryFunction kEntries[] = {
        QM71DIB512X256X8,  QM71DIBWXHX8,  QM71IMG512X256X8, QM71IMGWXHX8,
        QM71IMG512X256X16, QM71IMGWXHX16, QN71IMG512X256X8, QN71IMGWXHX8,
    };
    const FrameDescriptor descriptor{target.pixels,   target.width,    target.height,
                                     target.reserved, target.rowBytes, target.averagingExponent};
    // The library's status tells nothing the sample checks before the call:
    // SampleApp refuses unusable sizes itself.
    kEntries[static_cast<int>(entry)](&descriptor);
}

}  // namespace qm71::sample
