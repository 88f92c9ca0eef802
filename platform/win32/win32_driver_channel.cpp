#include "platform/win32/win32_driver_channel.h"

#include <windows.h>

#include "platform/driver_records.h"

namespace qm71 {

namespace {

template <std::size_t N>
bool Control(void* device, DWORD code, std::array<std::byte, N>& record) {
    DWORD returned = 0;
    return device != nullptr && DeviceIoControl(device, code, record.data(), N, record.data(), N,
                                                &returned, nullptr) != FALSE;
}

}  // namespace

bool Win32DriverChannel::Open() {
    Close();
    HANDLE device = CreateFileA("\\\\.\\QM71Dev", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) return false;
    device_ = device;
    return true;
}

bool Win32DriverChannel::Command(DriverRequest& request) {
    DriverRequestImage record = EncodeDriverRequest(request);
    if (!Control(device_, kDriverRequestCode, record)) return false;
    DecodeDriverAnswer(record, request);
    return true;
}

bool Win32DriverChannel::TransferLine(const LineRequest& request) {
    std::optional<LineRequestImage> record = EncodeLineRequest(request);
    return record && Control(device_, kLineRequestCode, *record);
}

void Win32DriverChannel::Close() {
    if (device_ == nullptr) return;
    CloseHandle(device_);
    device_ = nullptr;
}

}  // namespace qm71
