#pragma once

#include <optional>
#include <string>
#include <string_view>

// Private-profile text ("INI" files) without any file access: reading one
// value, reading an integer, and rewriting the text for one written value,
// as the Windows profile functions do; where we differ, the comments say why
// (a comparison with them runs in the Windows build's tests). IniProfileStore,
// Win32ProfileStore (for what may be written) and the fuzzer share these
// functions.
//
// The text is a sequence of lines ended by "\n" or "\r\n" (the last line may
// lack its end); a lone CR ends no line (Wine's functions take it for one
// only where no LF follows in the file, so one LF added at the end would
// change how every line before it reads). A UTF-8 byte order mark at the
// start is skipped for parsing and kept on writing. After trimming blanks and tabs a line is
//   - a section header "[name]": the name is what lies between '[' and the
//     first ']', trimmed; anything after the ']' is ignored;
//   - a comment if it starts with ';' or '#';
//   - a key line "key=value": the key is the text before the first '=',
//     trimmed (it may be empty); the value is the text after it, trimmed, and
//     a value enclosed in matching double or single quotes loses them;
//   - a key without a value when it has no '=';
//   - a '[' without ']' is kept in the file but means nothing.
// The lines before the first section header form a section without a name.
// Section and key names compare case-insensitively (ASCII letters only).
// Reading looks at the first section of a name only, and there at the first
// line of the key.
namespace qm71 {

// The value of `key` in `section`, or nothing when the section or the key is
// missing. An existing key with an empty value gives "".
std::optional<std::string> ProfileValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The integer reading of a profile value:
//   1. leading blanks and control characters are skipped;
//   2. one optional '+' or '-';
//   3. "0x" followed by hex digits, "0o" by octal, "0b" by binary digits
//      (the prefixes in lower case only), otherwise decimal digits; reading
//      stops at the first character that is not a digit of that base;
//   4. the digits are accumulated in an unsigned 32-bit number that wraps
//      around on overflow, a '-' negates it (modulo 2^32), and the 32 bits are
//      taken as a two's-complement int.
// No digits give 0 ("abc" -> 0, "-" -> 0, "0x" -> 0). Examples: "12abc" -> 12,
// " -7" -> -7, "0x1F" -> 31, "0X1F" -> 0, "0b101" -> 5, "0o17" -> 15,
// "-0x10" -> -16, "4294967295" -> -1, "4294967296" -> 0, "2147483648" -> INT_MIN.
// Every character of the value counts (Wine's GetPrivateProfileIntA reads no
// more than 29 of them, so a longer number, zeros in front included, reads as
// another there).
int ParseProfileInt(std::string_view value);

// Whether a section, key and value can be written so that they read back:
// no line breaks anywhere; the section is not empty and has no ']' and no
// surrounding blanks or tabs; the key is not empty, has no '=' and no
// surrounding blanks or tabs, and does not start with ';', '#' or '['.
bool IsWritableProfileEntry(std::string_view section, std::string_view key, std::string_view value);

// The text after writing `value` to `key` in `section`:
//   - the first line of the key in the first section of that name gets the
//     new value; the line keeps everything up to the '=' and the blanks after
//     it as written (a key without '=' gets one);
//   - a missing key is added as "key=value" after the last line of that
//     section that is not blank (the header when there is none);
//   - a missing section is appended as "[section]" with the key below it.
// Every other byte of the text stays as it was. Added lines end like the
// text's first line ("\r\n" or "\n"; "\r\n" when there is no line end yet).
// Gives nothing when the entry is not writable (see IsWritableProfileEntry).
std::optional<std::string> ProfileTextWithValue(std::string_view text, std::string_view section,
                                                std::string_view key, std::string_view value);

}  // namespace qm71
