#include "platform/posix/posix_serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/serial_wait.h"

namespace qm71 {

namespace {

using SteadyClock = std::chrono::steady_clock;
using TimePoint = SteadyClock::time_point;
using Milliseconds = std::chrono::milliseconds;

bool EqualsNoCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        const auto lower = [](unsigned char c) {
            return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
        };
        if (lower(ca) != lower(cb)) return false;
    }
    return i == a.size() && b[i] == '\0';
}

struct BaudEntry {
    std::uint32_t rate;
    speed_t speed;
};

constexpr BaudEntry kBaudRates[] = {
    {50, B50},           {75, B75},     {110, B110},   {134, B134},     {150, B150},
    {200, B200},         {300, B300},   {600, B600},   {1200, B1200},   {1800, B1800},
    {2400, B2400},       {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
#ifdef B57600
    {57600, B57600},
#endif
#ifdef B115200
    {115200, B115200},
#endif
#ifdef B230400
    {230400, B230400},
#endif
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B500000
    {500000, B500000},
#endif
#ifdef B576000
    {576000, B576000},
#endif
#ifdef B921600
    {921600, B921600},
#endif
#ifdef B1000000
    {1000000, B1000000},
#endif
#ifdef B1500000
    {1500000, B1500000},
#endif
#ifdef B2000000
    {2000000, B2000000},
#endif
};

std::optional<speed_t> SpeedOf(std::uint32_t rate) {
    for (const auto& e : kBaudRates) {
        if (e.rate == rate) return e.speed;
    }
    return std::nullopt;
}

std::uint32_t RateOf(speed_t speed) {
    for (const auto& e : kBaudRates) {
        if (e.speed == speed) return e.rate;
    }
    return 0;
}

// The flags of c_cflag that SetSettings decides and afterwards checks.
constexpr tcflag_t kLineFlags = CSIZE | PARENB | PARODD | CSTOPB
#ifdef CMSPAR
                                | CMSPAR
#endif
#ifdef CRTSCTS
                                | CRTSCTS
#endif
    ;

enum class WaitResult { Ready, TimedOut, Failed, Ended };

// Waits until `fd` is ready for `events` or `end` has passed (no end: no
// limit), handing control to the watcher on the way. A hang-up or error
// without the wanted event counts as failure.
WaitResult WaitFor(int fd, short events, std::optional<TimePoint> end, SerialWatch& watch) {
    for (;;) {
        if (!watch.KeepWaiting()) return WaitResult::Ended;
        const TimePoint now = SteadyClock::now();
        if (end && now >= *end) return WaitResult::TimedOut;
        std::optional<TimePoint> wake = end;
        if (const auto look = watch.NextLook(); look && (!wake || *look < *wake)) wake = look;
        int timeoutMs = -1;
        if (wake) {
            // Round up: waking a little late is harmless, waking early only spins.
            const auto left = std::chrono::ceil<Milliseconds>(*wake - now).count();
            timeoutMs = left > INT_MAX ? INT_MAX : static_cast<int>(std::max<long long>(left, 0));
        }
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, timeoutMs);
        if (r < 0) {
            if (errno == EINTR) continue;
            return WaitResult::Failed;
        }
        if (r == 0) continue;  // the clock above decides whether time is up
        if ((p.revents & events) != 0) return WaitResult::Ready;
        return WaitResult::Failed;
    }
}

bool IsTryAgain(int err) {
    return err == EAGAIN || err == EWOULDBLOCK;
}

// Devices without modem-control lines (pseudo-terminals, some adapters)
// refuse the line ioctls; that is not a failure of the settings.
bool NoModemLines(int err) {
    return err == ENOTTY || err == EINVAL;
}

}  // namespace

std::string SerialDevicePath(const std::string& name) {
    const char* variable = nullptr;
    const char* fallback = nullptr;
    if (EqualsNoCase(name, "COM1")) {
        variable = "QM71_COM1";
        fallback = "/dev/ttyS0";
    } else if (EqualsNoCase(name, "COM2")) {
        variable = "QM71_COM2";
        fallback = "/dev/ttyS1";
    } else {
        return name;
    }
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0' ? std::string(value) : std::string(fallback);
}

PosixSerialLine::~PosixSerialLine() {
    Close();
}

bool PosixSerialLine::Open(const std::string& name) {
    Close();
    const std::string path = SerialDevicePath(name);
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;

    // The flock keeps out every other opener that asks, root included; the
    // terminal's exclusive mode also keeps out programs that never ask. Both
    // must hold, and TIOCEXCL also refuses anything that is not a terminal.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    name_ = name;
    return true;
}

bool PosixSerialLine::GetSettings(SerialSettings& settings) {
    if (fd_ < 0) return false;
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return false;

    SerialSettings s;
    s.baudRate = RateOf(::cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
        case CS5:
            s.dataBits = 5;
            break;
        case CS6:
            s.dataBits = 6;
            break;
        case CS7:
            s.dataBits = 7;
            break;
        default:
            s.dataBits = 8;
            break;
    }
    const bool odd = (t.c_cflag & PARODD) != 0;
    if ((t.c_cflag & PARENB) == 0) {
        s.parity = SerialSettings::Parity::None;
    }
#ifdef CMSPAR
    else if ((t.c_cflag & CMSPAR) != 0) {
        s.parity = odd ? SerialSettings::Parity::Mark : SerialSettings::Parity::Space;
    }
#endif
    else {
        s.parity = odd ? SerialSettings::Parity::Odd : SerialSettings::Parity::Even;
    }
    if ((t.c_cflag & CSTOPB) == 0) {
        s.stopBits = SerialSettings::StopBits::One;
    } else {
        s.stopBits =
            s.dataBits == 5 ? SerialSettings::StopBits::OneAndHalf : SerialSettings::StopBits::Two;
    }
#ifdef CRTSCTS
    s.ctsOutputFlow = (t.c_cflag & CRTSCTS) != 0;
#endif
    s.dsrOutputFlow = false;
    s.xonXoffOutput = (t.c_iflag & IXON) != 0;
    s.xonXoffInput = (t.c_iflag & IXOFF) != 0;
    s.xonChar = static_cast<char>(t.c_cc[VSTART]);
    s.xoffChar = static_cast<char>(t.c_cc[VSTOP]);

    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) == 0) {
        using LC = SerialSettings::LineControl;
        s.dtr = (lines & TIOCM_DTR) != 0 ? LC::Enabled : LC::Disabled;
        s.rts = (lines & TIOCM_RTS) != 0 ? LC::Enabled : LC::Disabled;
    } else if (!NoModemLines(errno)) {
        return false;
    }
    if (s.ctsOutputFlow) s.rts = SerialSettings::LineControl::Handshake;

    settings = s;
    return true;
}

bool PosixSerialLine::SetSettings(const SerialSettings& s) {
    if (fd_ < 0) return false;
    using LC = SerialSettings::LineControl;

    // Check everything before touching the device, so a refused record
    // leaves the port as it was.
    const std::optional<speed_t> speed = SpeedOf(s.baudRate);
    if (!speed) return false;

    tcflag_t cflag = CLOCAL | CREAD;
    switch (s.dataBits) {
        case 5:
            cflag |= CS5;
            break;
        case 6:
            cflag |= CS6;
            break;
        case 7:
            cflag |= CS7;
            break;
        case 8:
            cflag |= CS8;
            break;
        default:
            return false;
    }
    switch (s.parity) {
        case SerialSettings::Parity::None:
            break;
        case SerialSettings::Parity::Odd:
            cflag |= PARENB | PARODD;
            break;
        case SerialSettings::Parity::Even:
            cflag |= PARENB;
            break;
#ifdef CMSPAR
        case SerialSettings::Parity::Mark:
            cflag |= PARENB | CMSPAR | PARODD;
            break;
        case SerialSettings::Parity::Space:
            cflag |= PARENB | CMSPAR;
            break;
#endif
        default:
            return false;
    }
    switch (s.stopBits) {
        case SerialSettings::StopBits::One:
            break;
        // The UART sends 1.5 stop bits for "two" when the word has 5 bits, and
        // cannot send two then; other word sizes have no 1.5.
        case SerialSettings::StopBits::OneAndHalf:
            if (s.dataBits != 5) return false;
            cflag |= CSTOPB;
            break;
        case SerialSettings::StopBits::Two:
            if (s.dataBits == 5) return false;
            cflag |= CSTOPB;
            break;
        default:
            return false;
    }
    const auto validLine = [](LC c) {
        return c == LC::Disabled || c == LC::Enabled || c == LC::Handshake;
    };
    if (!validLine(s.dtr) || !validLine(s.rts)) return false;
    if (s.ctsOutputFlow || s.rts == LC::Handshake) {
#ifdef CRTSCTS
        cflag |= CRTSCTS;
#else
        return false;
#endif
    }
    if ((s.xonXoffOutput || s.xonXoffInput) && s.xonChar == s.xoffChar) return false;

    termios t{};
    if (::tcgetattr(fd_, &t) != 0) return false;
    // Raw bytes both ways, as cfmakeraw does, plus no parity checking, no
    // restart on any character, and only the flow control asked for.
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IXON | IXOFF | IXANY | INPCK);
    if (s.xonXoffOutput) t.c_iflag |= IXON;
    if (s.xonXoffInput) t.c_iflag |= IXOFF;
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag = (t.c_cflag & ~(kLineFlags | CLOCAL | CREAD)) | cflag;
    t.c_cc[VSTART] = static_cast<cc_t>(s.xonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(s.xoffChar);
    // Reads never wait in the driver; Read times them itself.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, *speed) != 0 || ::cfsetospeed(&t, *speed) != 0) return false;
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) return false;

    // tcsetattr succeeds when any part was taken; a driver that cannot do
    // the rate or the frame quietly keeps its own, which must not pass.
    termios now{};
    if (::tcgetattr(fd_, &now) != 0) return false;
    if ((now.c_cflag & kLineFlags) != (cflag & kLineFlags) || ::cfgetospeed(&now) != *speed) {
        return false;
    }

    // No DSR/DTR handshake exists here: DTR "Handshake" is simply asserted.
    // Under RTS/CTS handshake the driver drives RTS; it starts asserted.
    int raise = 0;
    int drop = 0;
    if (s.dtr == LC::Disabled) {
        drop |= TIOCM_DTR;
    } else {
        raise |= TIOCM_DTR;
    }
    if (s.rts == LC::Disabled) {
        drop |= TIOCM_RTS;
    } else {
        raise |= TIOCM_RTS;
    }
    if (drop != 0 && ::ioctl(fd_, TIOCMBIC, &drop) != 0 && !NoModemLines(errno)) return false;
    if (raise != 0 && ::ioctl(fd_, TIOCMBIS, &raise) != 0 && !NoModemLines(errno)) return false;
    return true;
}

bool PosixSerialLine::SetTimeouts(const SerialTimeouts& timeouts) {
    if (fd_ < 0) return false;
    if (!ValidSerialTimeouts(timeouts)) return false;
    timeouts_ = timeouts;
    return true;
}

void PosixSerialLine::DiscardInput() {
    if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

bool PosixSerialLine::Write(std::span<const std::byte> data, std::size_t& written) {
    written = 0;
    if (fd_ < 0) return false;
    const auto total = SerialTotalTimeout(timeouts_.writeTotalPerByteMs,
                                          timeouts_.writeTotalConstantMs, data.size());
    std::optional<TimePoint> deadline;
    if (total) deadline = SteadyClock::now() + *total;
    SerialWatch watch(watcher_, name_);

    while (written < data.size()) {
        const ssize_t n = ::write(fd_, data.data() + written, data.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && !IsTryAgain(errno)) return false;
        // The output buffer is full (or held by flow control): wait for room.
        if (WaitFor(fd_, POLLOUT, deadline, watch) != WaitResult::Ready) return false;
    }
    return true;
}

bool PosixSerialLine::Read(std::span<std::byte> data, std::size_t& got) {
    got = 0;
    if (fd_ < 0) return false;
    if (data.empty()) return true;
    SerialReadTimer timer(timeouts_, data.size());
    SerialWatch watch(watcher_, name_);

    bool readable = false;  // the last wait said there is something to read
    for (;;) {
        // Never ask for more than is missing: what comes after stays in the
        // device for the next read.
        const ssize_t n = ::read(fd_, data.data() + got, data.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            timer.BytesCame();
            readable = false;
            if (got == data.size()) return true;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && !IsTryAgain(errno)) return false;
        // Readable, yet nothing came: the line has hung up.
        if (n == 0 && readable) return false;
        // Nothing waiting right now (0 or EAGAIN, depending on the mode).
        if (timer.AtOnce()) return true;
        switch (WaitFor(fd_, POLLIN, timer.End(), watch)) {
            case WaitResult::Ready:
                readable = true;
                break;
            case WaitResult::Failed:
                return false;
            case WaitResult::TimedOut:
            case WaitResult::Ended:
                return true;
        }
    }
}

void PosixSerialLine::Close() {
    if (fd_ < 0) return;
    // The exclusive mode belongs to the terminal, not to this descriptor, and
    // would otherwise outlive us on a device that stays open elsewhere.
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace qm71
