// Arbitrary bytes as settings text: reading must not crash, and a write must
// change one line of the text at most (or only add lines), so that everything
// else in the file survives, and the written value must read back.
// Input: three length bytes (section, key, value; each modulo 16), the three
// names, then the file text.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini/profile_text.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t pos = 3;
    const auto take = [&](std::size_t n) {
        const std::string_view part = input.substr(pos, n % 16);
        pos += part.size();
        return part;
    };
    const std::string_view section = take(data[0]), key = take(data[1]), value = take(data[2]);
    const std::string_view text = input.substr(pos);
    if (const auto old = qm71::ProfileValue(text, section, key)) (void)qm71::ParseProfileInt(*old);

    const std::optional<std::string> out = qm71::ProfileTextWithValue(text, section, key, value);
    Check(out.has_value() == qm71::IsWritableProfileEntry(section, key, value));
    if (!out) return 0;
    // What the write took away from the text lies within one line.
    std::size_t same = 0, sameEnd = 0;
    while (same < text.size() && same < out->size() && text[same] == (*out)[same]) ++same;
    while (same + sameEnd < text.size() && same + sameEnd < out->size() &&
           text[text.size() - 1 - sameEnd] == (*out)[out->size() - 1 - sameEnd])
        ++sameEnd;
    Check(text.substr(same, text.size() - same - sameEnd).find('\n') == std::string_view::npos);
    // The value reads back as written, trimmed and without enclosing quotes.
    std::string_view written = value.substr(std::min(value.find_first_not_of(" \t"), value.size()));
    written = written.substr(0, written.find_last_not_of(" \t") + 1);
    if (written.size() >= 2 && (written.front() == '"' || written.front() == '\'') &&
        written.back() == written.front())
        written = written.substr(1, written.size() - 2);
    Check(qm71::ProfileValue(*out, section, key) == written);
    // Writing it again changes nothing (a leading blank would be taken into
    // the kept part of the line, so such values are left out).
    if (!value.starts_with(' ') && !value.starts_with('\t'))
        Check(qm71::ProfileTextWithValue(*out, section, key, value) == out);
    return 0;
}
