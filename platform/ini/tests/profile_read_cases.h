#pragma once

// Files, a key read from them with the default 77, and what the Windows profile
// functions answer, which IniProfileStore answers too (the Windows build asks
// the system as well); `ours`: we keep our answer, for the reason above it.
namespace qm71::testing {

struct ReadCase {
    const char* file;  // null: there is none
    int answer;
    const char* section = "CONFIG";
    const char* key = "X";
    bool ours = false;
};

#define C "[CONFIG]\r\n"
// clang-format off
inline constexpr ReadCase kReadCases[] = {
    // Integers.
    {C "X=128\r\n", 128}, {C "X=-7\r\n", -7}, {C "X=+42\r\n", 42}, {C "X=0x10\r\n", 16},
    {C "X=0X10\r\n", 0}, {C "X=-0xfF\r\n", -255}, {C "X=0b101\r\n", 5}, {C "X=0o17\r\n", 15},
    {C "X=017\r\n", 17}, {C "X=0b12\r\n", 1}, {C "X=12abc\r\n", 12}, {C "X=abc\r\n", 0},
    {C "X=2147483648\r\n", -2147483647 - 1}, {C "X=4294967296\r\n", 0},
    {C "X=-4294967297\r\n", -1}, {C "X=0x123456789\r\n", 0x23456789},
    {C "X=18446744073709551617\r\n", 1}, {C "X= \t 5 \t \r\n", 5}, {C "X=\x01" "5\r\n", 5},
    {C "X=\r\n", 77}, {C "X=\"12\"\r\n", 12}, {C "X='12'\r\n", 12}, {C "X=\"12\r\n", 0},
    // Wine reads no more than 29 characters of a value: 0 for the padded 12.
    {C "X=000000000000000000000000000000000012\r\n", 12, "CONFIG", "X", true},
    // Wine takes a lone CR for a line end where no LF follows in the file.
    {"[CONFIG]\rX=5\r", 77, "CONFIG", "X", true},
    // Finding the key.
    {nullptr, 77}, {"[OTHER]\r\nX=5\r\n", 77}, {C "Y=5\r\n", 77}, {"[config]\r\nx=5\r\n", 5},
    {"\t[ CONFIG ]  \r\n  X\t=  5 \r\n", 5}, {"[CONFIG] ; note\r\nX=5\r\n", 5},
    {"[CONFIG]\r\nY=1\r\n[OTHER]\r\nX=1\r\n[CONFIG]\r\nX=5\r\n", 77}, {C "X=1\r\nX=2\r\n", 1},
    {C ";X=1\r\n#X=2\r\nX=5\r\n", 5}, {C "X\r\nX=5\r\n", 77}, {C "=5\r\n", 5, "CONFIG", ""},
    {"X=5\r\n" C, 77}, {"X=5\r\n[]\r\nX=6\r\n", 5, ""}, {"[CONFIG]\nX=5\n", 5},
    {"[CONFIG]\r\nX=5", 5}, {"\xEF\xBB\xBF[CONFIG]\r\n\r\nX=5\r\n", 5},
};
// clang-format on
#undef C

}  // namespace qm71::testing
