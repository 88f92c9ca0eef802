#include "common/driver.h"

namespace qm71 {

bool Driver::Open() {
    open_ = channel_.Open();
    return open_;
}

bool Driver::DriverCommand(SubCommand subCommand, std::uint16_t& value1, std::uint16_t& value2) {
    if (!open_) return false;
    DriverRequest request{subCommand, value1, value2};
    const bool ok = channel_.Command(request);
    value1 = request.value1;
    value2 = request.value2;
    return ok;
}

bool Driver::Send(SubCommand subCommand, std::uint16_t value1, std::uint16_t value2) {
    return DriverCommand(subCommand, value1, value2);
}

bool Driver::TransferLine() {
    return open_ && channel_.TransferLine(line_);
}

void Driver::CloseGrabber() {
    if (!open_) return;
    Send(SubCommand::CloseCard);
    channel_.Close();
    open_ = false;
}

}  // namespace qm71
