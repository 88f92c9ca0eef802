// The library's vocabulary: each name fixes a layout for the one transfer
// routine.
#include "portlib/qm71port.h"
#include "portlib/transfer.h"

namespace {
using qm71::portlib::Layout;
using qm71::portlib::Transfer;
}  // namespace

extern "C" {

int QM71DIB512X256X8(const FrameDescriptor* f) {
    return Transfer(f, {512, 256, false, true, false});
}
int QM71DIBWXHX8(const FrameDescriptor* f) {
    return Transfer(f, {0, 0, false, true, false});
}
int QM71IMG512X256X8(const FrameDescriptor* f) {
    return Transfer(f, {512, 256, false, false, false});
}
int QM71IMGWXHX8(const FrameDescriptor* f) {
    return Transfer(f, {0, 0, false, false, false});
}
int QM71IMG512X256X16(const FrameDescriptor* f) {
    return Transfer(f, {512, 256, true, false, false});
}
int QM71IMGWXHX16(const FrameDescriptor* f) {
    return Transfer(f, {0, 0, true, false, false});
}
int QN71IMG512X256X8(const FrameDescriptor* f) {
    return Transfer(f, {512, 256, false, false, true});
}
int QN71IMGWXHX8(const FrameDescriptor* f) {
    return Transfer(f, {0, 0, false, false, true});
}
int QM71DIB1024X512X8(const FrameDescriptor* f) {
    return Transfer(f, {1024, 512, false, true, false});
}
int QM71IMG1024X512X8(const FrameDescriptor* f) {
    return Transfer(f, {1024, 512, false, false, false});
}
int QM71IMG1024X512X16(const FrameDescriptor* f) {
    return Transfer(f, {1024, 512, true, false, false});
}

}  // extern "C"
