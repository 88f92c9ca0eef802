#include "platform/win32/win32_serial_line.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <optional>

#include "platform/serial_wait.h"

namespace qm71 {

namespace {

using Clock = SerialWatch::Clock;
using TimePoint = Clock::time_point;

// Longest single wait handed to the driver; the loops simply wait again.
constexpr DWORD kLongestSliceMs = 24 * 60 * 60 * 1000;

// Milliseconds from `now` to the earlier of `end` and the watcher's next
// look, at least 1; kLongestSliceMs when neither is set.
DWORD SliceUntil(std::optional<TimePoint> end, const SerialWatch& watch, TimePoint now) {
    if (const auto look = watch.NextLook(); look && (!end || *look < *end)) end = look;
    if (!end) return kLongestSliceMs;
    // Round up: waking a little late is harmless, waking early only spins.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*end - now).count();
    return static_cast<DWORD>(std::clamp<long long>(left, 1, kLongestSliceMs));
}

bool IsTimeout(DWORD error) {
    return error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT || error == WAIT_TIMEOUT;
}

}  // namespace

bool ApplySerialSettings(const SerialSettings& s, DCB& dcb) {
    using LC = SerialSettings::LineControl;
    // The enumerations count as the record does: NOPARITY..SPACEPARITY,
    // ONESTOPBIT..TWOSTOPBITS, DTR/RTS_CONTROL_DISABLE..HANDSHAKE.
    const auto parity = static_cast<unsigned>(s.parity);
    const auto stopBits = static_cast<unsigned>(s.stopBits);
    const auto dtr = static_cast<unsigned>(s.dtr);
    const auto rts = static_cast<unsigned>(s.rts);
    if (s.dataBits < 5 || s.dataBits > 8 || parity > SPACEPARITY || stopBits > TWOSTOPBITS ||
        dtr > static_cast<unsigned>(LC::Handshake) || rts > static_cast<unsigned>(LC::Handshake)) {
        return false;
    }
    dcb.BaudRate = s.baudRate;
    dcb.ByteSize = s.dataBits;
    dcb.Parity = static_cast<BYTE>(parity);
    dcb.StopBits = static_cast<BYTE>(stopBits);
    dcb.fBinary = TRUE;
    dcb.fParity = s.parity != SerialSettings::Parity::None;
    dcb.fOutxCtsFlow = s.ctsOutputFlow;
    dcb.fOutxDsrFlow = s.dsrOutputFlow;
    dcb.fDtrControl = dtr & 3u;
    dcb.fRtsControl = rts & 3u;
    dcb.fTXContinueOnXoff = FALSE;
    dcb.fOutX = s.xonXoffOutput;
    dcb.fInX = s.xonXoffInput;
    dcb.XonChar = s.xonChar;
    dcb.XoffChar = s.xoffChar;
    return true;
}

SerialSettings SerialSettingsOf(const DCB& dcb) {
    using LC = SerialSettings::LineControl;
    SerialSettings s;
    s.baudRate = dcb.BaudRate;
    s.dataBits = dcb.ByteSize;
    s.parity = static_cast<SerialSettings::Parity>(std::min<BYTE>(dcb.Parity, SPACEPARITY));
    s.stopBits = static_cast<SerialSettings::StopBits>(std::min<BYTE>(dcb.StopBits, TWOSTOPBITS));
    s.ctsOutputFlow = dcb.fOutxCtsFlow != 0;
    s.dsrOutputFlow = dcb.fOutxDsrFlow != 0;
    s.dtr = static_cast<LC>(dcb.fDtrControl);
    s.rts = dcb.fRtsControl == RTS_CONTROL_TOGGLE ? LC::Enabled : static_cast<LC>(dcb.fRtsControl);
    s.xonXoffOutput = dcb.fOutX != 0;
    s.xonXoffInput = dcb.fInX != 0;
    s.xonChar = dcb.XonChar;
    s.xoffChar = dcb.XoffChar;
    return s;
}

Win32SerialLine::~Win32SerialLine() {
    Close();
}

bool Win32SerialLine::Open(const std::string& name) {
    Close();
    // Only the \\.\ form reaches COM10 and above; it serves COM1 as well.
    const std::string path = name.starts_with("\\\\") ? name : "\\\\.\\" + name;
    // Windows' serial driver refuses a second opener, Wine lets it in. A
    // named object per port keeps out every opener that asks, as the POSIX
    // line's flock does, in this process and in others.
    std::string guardName = "qm71-serial-" + path.substr(path.find_last_of('\\') + 1);
    for (char& c : guardName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const HANDLE guard = ::CreateMutexA(nullptr, FALSE, guardName.c_str());
    if (guard == nullptr) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(guard);
        return false;
    }
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ::CloseHandle(guard);
        return false;
    }
    // The queue sizes are a wish the driver may round or ignore (Wine's
    // does); the port works with its own.
    ::SetupComm(handle, 256, 256);
    handle_ = handle;
    guard_ = guard;
    name_ = name;
    onPortKnown_ = false;
    return true;
}

bool Win32SerialLine::GetSettings(SerialSettings& settings) {
    if (!IsOpen()) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(handle_, &dcb)) return false;
    settings = SerialSettingsOf(dcb);
    return true;
}

bool Win32SerialLine::SetSettings(const SerialSettings& settings) {
    if (!IsOpen()) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(handle_, &dcb) || !ApplySerialSettings(settings, dcb)) return false;
    return ::SetCommState(handle_, &dcb) != 0;
}

bool Win32SerialLine::SetTimeouts(const SerialTimeouts& timeouts) {
    if (!IsOpen() || !ValidSerialTimeouts(timeouts)) return false;
    // The port must take time-outs at all; which ones is decided per slice.
    if (!SliceTimeouts(0, 0)) return false;
    timeouts_ = timeouts;
    return true;
}

bool Win32SerialLine::SliceTimeouts(DWORD readWaitMs, DWORD writeWaitMs) {
    COMMTIMEOUTS t{};
    // 1, 0, c: return 1 ms after the bytes that came, or after c ms with
    // none. MAXDWORD, 0, 0: return at once with what is there. (Windows also
    // knows MAXDWORD, MAXDWORD, c for the first; Wine waits all of c there.)
    t.ReadIntervalTimeout = readWaitMs > 0 ? 1 : MAXDWORD;
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = readWaitMs;
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = writeWaitMs;
    if (onPortKnown_ && t.ReadTotalTimeoutConstant == onPort_.ReadTotalTimeoutConstant &&
        t.WriteTotalTimeoutConstant == onPort_.WriteTotalTimeoutConstant) {
        return true;
    }
    onPortKnown_ = ::SetCommTimeouts(handle_, &t) != 0;
    onPort_ = t;
    return onPortKnown_;
}

void Win32SerialLine::DiscardInput() {
    if (IsOpen()) ::PurgeComm(handle_, PURGE_RXCLEAR);
}

bool Win32SerialLine::Write(std::span<const std::byte> data, std::size_t& written) {
    written = 0;
    if (!IsOpen()) return false;
    const auto total = SerialTotalTimeout(timeouts_.writeTotalPerByteMs,
                                          timeouts_.writeTotalConstantMs, data.size());
    std::optional<TimePoint> deadline;
    if (total) deadline = Clock::now() + *total;
    SerialWatch watch(watcher_, name_);

    while (written < data.size()) {
        const TimePoint now = Clock::now();
        if (deadline && now >= *deadline) return false;
        // Without an end or a watcher the write may take as long as it needs.
        const DWORD slice = deadline || watch.NextLook() ? SliceUntil(deadline, watch, now) : 0;
        const auto rest =
            static_cast<DWORD>(std::min<std::size_t>(data.size() - written, MAXDWORD));
        DWORD n = 0;
        if (!SliceTimeouts(0, slice)) return false;
        const bool ok = ::WriteFile(handle_, data.data() + written, rest, &n, nullptr) != 0;
        written += n;
        if (!ok && !IsTimeout(::GetLastError())) return false;
        if (written < data.size() && !watch.KeepWaiting()) return false;
    }
    return true;
}

bool Win32SerialLine::Read(std::span<std::byte> data, std::size_t& got) {
    got = 0;
    if (!IsOpen()) return false;
    if (data.empty()) return true;
    SerialReadTimer timer(timeouts_, data.size());
    SerialWatch watch(watcher_, name_);

    for (;;) {
        const std::optional<TimePoint> end = timer.End();
        const TimePoint now = Clock::now();
        if (end && now >= *end) return true;
        const DWORD slice = timer.AtOnce() ? 0 : SliceUntil(end, watch, now);
        // Never ask for more than is missing: what comes after stays in the
        // driver for the next read.
        const auto rest = static_cast<DWORD>(std::min<std::size_t>(data.size() - got, MAXDWORD));
        DWORD n = 0;
        if (!SliceTimeouts(slice, 0)) return false;
        if (!::ReadFile(handle_, data.data() + got, rest, &n, nullptr) &&
            !IsTimeout(::GetLastError())) {
            got += n;
            return false;
        }
        if (n > 0) {
            got += n;
            timer.BytesCame();
            if (got == data.size()) return true;
            continue;
        }
        if (timer.AtOnce() || !watch.KeepWaiting()) return true;
    }
}

void Win32SerialLine::Close() {
    if (!IsOpen()) return;
    ::CloseHandle(handle_);
    ::CloseHandle(guard_);
    handle_ = INVALID_HANDLE_VALUE;
    guard_ = nullptr;
}

}  // namespace qm71
