#include "platform/win32/win32_serial_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace qm71 {
namespace {

// The settings of both cameras' lines and an odd one, through a record that
// holds values of its own in the fields the settings do not name.
TEST(Win32SerialLine, SettingsMapOntoTheDeviceControlRecord) {
    using LC = SerialSettings::LineControl;
    SerialSettings viewer, sample;
    viewer.xonXoffOutput = viewer.xonXoffInput = true;
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
    // baud, bits, parity, stop, fParity, CTS, DSR, DTR, RTS, outX, inX, XON, XOFF
    const std::pair<SerialSettings, std::vector<DWORD>> cases[] = {
        {viewer, {9600, 8, NOPARITY, ONESTOPBIT, 0, 0, 0, 0, 0, 1, 1, 0x11, 0x13}},
        {sample, {9600, 8, NOPARITY, ONESTOPBIT, 0, 1, 1, 2, 2, 0, 0, 0x11, 0x13}},
        {odd, {19200, 7, MARKPARITY, TWOSTOPBITS, 1, 0, 0, 1, 0, 1, 0, 'q', 's'}},
    };
    for (const auto& [settings, fields] : cases) {
        DCB dcb{};
        dcb.fTXContinueOnXoff = dcb.fAbortOnError = TRUE;
        dcb.XonLim = 2048;
        ASSERT_TRUE(ApplySerialSettings(settings, dcb));
        EXPECT_EQ(fields, (std::vector<DWORD>{dcb.BaudRate, dcb.ByteSize, dcb.Parity, dcb.StopBits,
                                              dcb.fParity, dcb.fOutxCtsFlow, dcb.fOutxDsrFlow,
                                              dcb.fDtrControl, dcb.fRtsControl, dcb.fOutX, dcb.fInX,
                                              DWORD(dcb.XonChar), DWORD(dcb.XoffChar)}));
        EXPECT_TRUE(dcb.fBinary && !dcb.fTXContinueOnXoff && dcb.fAbortOnError &&
                    dcb.XonLim == 2048);
        EXPECT_EQ(SerialSettingsOf(dcb), settings);
    }

    // A value the record cannot hold leaves it as it was.
    SerialSettings bad;
    bad.dataBits = 9;
    DCB dcb{};
    EXPECT_FALSE(ApplySerialSettings(bad, dcb));
    EXPECT_FALSE(dcb.fBinary);
    dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    EXPECT_EQ(SerialSettingsOf(dcb).rts, LC::Enabled);
}

}  // namespace
}  // namespace qm71
