#include "platform/system_driver.h"

#include <ostream>

#include "platform/win32/win32_driver_channel.h"

namespace qm71 {

namespace {

std::unique_ptr<DriverChannel> MakeWin32DriverChannel(std::ostream& messages) {
    // The driver's line request holds a 32-bit destination address, which the
    // image of a 64-bit process need not have.
    if constexpr (sizeof(void*) > 4) {
        messages << "qm71: card driver: its row requests hold 32-bit addresses, which a 64-bit "
                    "program cannot give; use the 32-bit programs\n";
        return nullptr;
    }
    messages << "qm71: card driver \\\\.\\QM71Dev\n";
    return std::make_unique<Win32DriverChannel>();
}

}  // namespace

SystemDriver ThisSystemsDriver() {
    return {"driver", &MakeWin32DriverChannel};
}

}  // namespace qm71
