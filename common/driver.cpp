#include "common/driver.h"

#include <cstdio>

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

std::uint16_t Driver::QueryCardBase(std::uint16_t& value2) {
    std::uint16_t v1 = 0;
    value2 = 0;
    DriverCommand(SubCommand::QueryBase, v1, value2);
    return v1 == kDefaultCardBase || v1 == kAlternateCardBase ? v1 : kDefaultCardBase;
}

void Driver::SendTable(std::uint16_t step) {
    Send(SubCommand::BeginTable, 1024, 0);
    for (std::uint16_t k = 0; k < 1024; k += 2)
        Send(SubCommand::TableEntries, static_cast<std::uint16_t>(k * step),
             static_cast<std::uint16_t>((k + 1) * step));
}

LoadedCard LoadCard(Driver& driver, const CardLoad& load) {
    std::uint16_t v2 = 0;
    const std::uint16_t base = driver.QueryCardBase(v2);
    std::uint16_t v1 = base;
    if (load.downloadValue2Cleared) v2 = 0;
    driver.DriverCommand(SubCommand::Download, v1, v2);
    const int error = v1 & 0xFF;
    const int attempts = v1 >> 8;
    if (load.downloadErrors != nullptr && error != 0) {
        char text[64];
        std::snprintf(text, sizeof text, "DownLoad Fehler: #%d (%d Versuche)", error, attempts);
        load.downloadErrors->Message(text);
    }
    driver.Line().cardBase = base;
    driver.DriverCommand(SubCommand::PostDownload, v1, v2);

    v1 = kLinesParameter;
    v2 = load.lines;
    if (load.parameterFirst) driver.DriverCommand(SubCommand::SetParameter, v1, v2);
    driver.SendTable(load.tableStep);
    if (!load.parameterFirst) driver.DriverCommand(SubCommand::SetParameter, v1, v2);
    driver.DriverCommand(SubCommand::Commit, v1, v2);
    return {base, attempts};
}

void Driver::CloseGrabber() {
    line_.destination = nullptr;
    if (!open_) return;
    Send(SubCommand::CloseCard);
    channel_.Close();
    open_ = false;
}

}  // namespace qm71
