#include "platform/system_driver.h"

namespace qm71 {

// The card has no driver for Linux.
SystemDriver ThisSystemsDriver() {
    return {};
}

}  // namespace qm71
