// Arbitrary bytes as settings text: reading must not crash, and one write must
// change the written key only.
//
// Input layout: three length bytes (section, key, value; each modulo 16), the
// three names, then the file text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ini/profile_text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// What a written value reads back as: trimmed, and without enclosing quotes.
std::string ReadBack(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

// Rough collection of the names that appear in the text, to query them all.
void CollectNames(std::string_view text, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
    std::size_t pos = 0;
    while (pos < text.size() && sections.size() < 8 && keys.size() < 8) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) nl = text.size();
        std::string_view line = Trim(text.substr(pos, nl - pos));
        if (!line.empty() && line.back() == '\r') line = Trim(line.substr(0, line.size() - 1));
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                sections.emplace_back(Trim(line.substr(1, close - 1)));
            }
        } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
            keys.emplace_back(Trim(line.substr(0, eq)));
        }
        pos = nl + 1;
    }
}

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t pos = 3;
    auto take = [&](std::size_t n) {
        n = std::min(n % 16, input.size() - pos);
        const std::string_view part = input.substr(pos, n);
        pos += n;
        return part;
    };
    const std::string_view section = take(data[0]);
    const std::string_view key = take(data[1]);
    const std::string_view value = take(data[2]);
    const std::string_view text = input.substr(pos);

    (void)qm71::ParseProfileInt(text);
    (void)qm71::ParseProfileInt(value);

    std::vector<std::string> sections{std::string(section)};
    std::vector<std::string> keys{std::string(key)};
    CollectNames(text, sections, keys);

    std::vector<std::optional<std::string>> before;
    for (const std::string& s : sections) {
        for (const std::string& k : keys) {
            before.push_back(qm71::ProfileValue(text, s, k));
            if (before.back()) (void)qm71::ParseProfileInt(*before.back());
        }
    }

    const std::optional<std::string> out = qm71::ProfileTextWithValue(text, section, key, value);
    Check(out.has_value() == qm71::IsWritableProfileEntry(section, key, value));
    if (!out) return 0;

    // The written key reads back as written.
    Check(qm71::ProfileValue(*out, section, key) == ReadBack(value));

    // Every other key reads as before.
    std::size_t i = 0;
    for (const std::string& s : sections) {
        for (const std::string& k : keys) {
            if (!(SameName(s, section) && SameName(k, key))) {
                Check(qm71::ProfileValue(*out, s, k) == before[i]);
            }
            ++i;
        }
    }

    // A new key or section is a pure insertion: the old text survives around it.
    if (!before[0]) {
        std::size_t prefix = 0;
        while (prefix < text.size() && prefix < out->size() && text[prefix] == (*out)[prefix]) {
            ++prefix;
        }
        std::size_t suffix = 0;
        while (suffix < text.size() && suffix < out->size() &&
               text[text.size() - 1 - suffix] == (*out)[out->size() - 1 - suffix]) {
            ++suffix;
        }
        Check(out->size() > text.size() && prefix + suffix >= text.size());
    }

    // Writing the same value again changes nothing (a leading blank would be
    // taken into the kept part of the line, so such values are left out).
    if (value.empty() || !IsBlank(value.front())) {
        Check(qm71::ProfileTextWithValue(*out, section, key, value) == out);
    }
    return 0;
}
