#include "platform/win32/win32_serial_line.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

// The settings of both cameras' lines and an odd one, through a record that
// holds values of its own in the fields the settings do not name.
TEST(Win32SerialLine, SettingsMapOntoTheDeviceControlRecord) {
    using LC = SerialSettings::LineControl;
    SerialSettings viewer;  // 9600 8N1, XON/XOFF both ways, DTR and RTS low
    viewer.xonXoffOutput = viewer.xonXoffInput = true;
    SerialSettings sample;  // hardware handshakes everywhere, no XON/XOFF
    sample.ctsOutputFlow = sample.dsrOutputFlow = true;
    sample.dtr = sample.rts = LC::Handshake;
    const SerialSettings odd{19200,
                             7,
                             SerialSettings::Parity::Mark,
                             SerialSettings::StopBits::Two,
                             false,
                             false,
                             LC::Enabled,
                             LC::Disabled,
                             true,
                             false,
                             'q',
                             's'};
    const struct {
        SerialSettings settings;
        DWORD fields[13];  // baud, bits, parity, stop, fParity, CTS, DSR, DTR, RTS, outX, inX, XON,
                           // XOFF
    } cases[] = {
        {viewer, {9600, 8, NOPARITY, ONESTOPBIT, 0, 0, 0, 0, 0, 1, 1, 0x11, 0x13}},
        {sample, {9600, 8, NOPARITY, ONESTOPBIT, 0, 1, 1, 2, 2, 0, 0, 0x11, 0x13}},
        {odd, {19200, 7, MARKPARITY, TWOSTOPBITS, 1, 0, 0, 1, 0, 1, 0, 'q', 's'}},
    };
    for (const auto& c : cases) {
        DCB dcb{};
        dcb.fTXContinueOnXoff = dcb.fDsrSensitivity = dcb.fAbortOnError = TRUE;
        dcb.XonLim = 2048;
        dcb.EvtChar = 'e';
        ASSERT_TRUE(ApplySerialSettings(c.settings, dcb));
        const DWORD got[13] = {
            dcb.BaudRate,     dcb.ByteSize,       dcb.Parity,         dcb.StopBits,    dcb.fParity,
            dcb.fOutxCtsFlow, dcb.fOutxDsrFlow,   dcb.fDtrControl,    dcb.fRtsControl, dcb.fOutX,
            dcb.fInX,         DWORD(dcb.XonChar), DWORD(dcb.XoffChar)};
        EXPECT_TRUE(std::equal(std::begin(got), std::end(got), std::begin(c.fields)))
            << c.settings.baudRate;
        EXPECT_TRUE(dcb.fBinary && !dcb.fTXContinueOnXoff);
        EXPECT_TRUE(dcb.fDsrSensitivity && dcb.fAbortOnError && dcb.XonLim == 2048 &&
                    dcb.EvtChar == 'e');
        EXPECT_EQ(SerialSettingsOf(dcb), c.settings);
    }

    // A value the record cannot hold leaves it as it was.
    SerialSettings bad;
    bad.dataBits = 9;
    DCB dcb{};
    dcb.ByteSize = 8;
    EXPECT_FALSE(ApplySerialSettings(bad, dcb));
    EXPECT_FALSE(dcb.fBinary);
    bad.dataBits = 8;
    bad.rts = static_cast<LC>(3);
    EXPECT_FALSE(ApplySerialSettings(bad, dcb));
    dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    EXPECT_EQ(SerialSettingsOf(dcb).rts, LC::Enabled);
}

}  // namespace
}  // namespace qm71
