#include "platform/ini/profile_text.h"

#include <cstddef>
#include <cstdint>

namespace qm71 {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// One line of the text; offsets are into the whole text.
struct Line {
    std::size_t begin = 0;       // first character of the line
    std::size_t contentEnd = 0;  // end of the line without its line end
    std::size_t end = 0;         // after the line end ("\n" or "\r\n"), or the text's end
    bool terminated = false;     // false only for a last line without line end
};

// Walks the lines of a text, one Next() at a time.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
    }

    bool Next(Line& line) {
        if (pos_ >= text_.size()) return false;
        line.begin = pos_;
        const std::size_t nl = text_.find('\n', pos_);
        if (nl == std::string_view::npos) {
            // A CR at the very end is taken as the start of a line end, so the
            // line reads the same once a write completes it with "\n".
            line.end = text_.size();
            line.contentEnd = text_.back() == '\r' ? line.end - 1 : line.end;
            line.terminated = false;
        } else {
            line.contentEnd = (nl > pos_ && text_[nl - 1] == '\r') ? nl - 1 : nl;
            line.end = nl + 1;
            line.terminated = true;
        }
        pos_ = line.end;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
    LineKind kind = LineKind::kOther;
    std::string_view name;        // section or key name
    std::size_t valueOffset = 0;  // key lines: offset in the line of the value's first character
    bool hasEquals = false;       // key lines: false for a key without '=' and value
};

ParsedLine ParseLine(std::string_view content) {
    ParsedLine parsed;
    const std::string_view trimmed = Trim(content);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return parsed;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            parsed.kind = LineKind::kSection;
            parsed.name = Trim(trimmed.substr(1, close - 1));
        }
        return parsed;
    }
    parsed.kind = LineKind::kKey;
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos) {
        // A line of a name alone is a key without a value; a write adds one.
        parsed.name = trimmed;
        parsed.valueOffset = static_cast<std::size_t>(trimmed.end() - content.begin());
        return parsed;
    }
    parsed.hasEquals = true;
    parsed.name = Trim(content.substr(0, eq));
    std::size_t value = eq + 1;
    while (value < content.size() && IsBlank(content[value])) ++value;
    parsed.valueOffset = value;
    return parsed;
}

std::string_view ValueOf(std::string_view content, const ParsedLine& parsed) {
    std::string_view value = Trim(content.substr(parsed.valueOffset));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

std::string_view LineEndOf(std::string_view text) {
    const std::size_t nl = text.find('\n');
    if (nl != std::string_view::npos && (nl == 0 || text[nl - 1] != '\r')) return "\n";
    return "\r\n";
}

// What ends a text's unterminated last line: a CR already there only needs
// its LF.
std::string_view CompletingLineEnd(std::string_view text, std::string_view eol) {
    return (!text.empty() && text.back() == '\r') ? std::string_view("\n") : eol;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool HasSurroundingBlanks(std::string_view s) {
    return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

// The value of a digit of any base up to 36; 36 for what is no digit.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') return unsigned(c - '0');
    if (c >= 'a' && c <= 'z') return unsigned(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z') return unsigned(c - 'A' + 10);
    return 36;
}

}  // namespace

std::optional<std::string> ProfileValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
    LineReader reader(text);
    Line line;
    // The lines before the first header are the first section without a name.
    bool inSection = section.empty();
    while (reader.Next(line)) {
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const ParsedLine parsed = ParseLine(content);
        if (parsed.kind == LineKind::kSection) {
            // Only the first section of the name counts.
            if (inSection) return std::nullopt;
            inSection = SameName(parsed.name, section);
        } else if (parsed.kind == LineKind::kKey && inSection && SameName(parsed.name, key)) {
            return std::string(ValueOf(content, parsed));
        }
    }
    return std::nullopt;
}

int ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < value.size() && value[i] == '0') {
        const char prefix = value[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    std::uint32_t result = 0;
    for (unsigned digit; i < value.size() && (digit = DigitValue(value[i])) < base; ++i)
        result = result * base + digit;
    if (negative) result = 0u - result;
    // Two's-complement reading of the 32 bits (well defined since C++20).
    return static_cast<int>(static_cast<std::int32_t>(result));
}

bool IsWritableProfileEntry(std::string_view section, std::string_view key,
                            std::string_view value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
    if (section.empty() || section.find(']') != std::string_view::npos ||
        HasSurroundingBlanks(section))
        return false;
    if (key.empty() || HasSurroundingBlanks(key) || key.find('=') != std::string_view::npos) {
        return false;
    }
    return key.front() != ';' && key.front() != '#' && key.front() != '[';
}

std::optional<std::string> ProfileTextWithValue(std::string_view text, std::string_view section,
                                                std::string_view key, std::string_view value) {
    if (!IsWritableProfileEntry(section, key, value)) return std::nullopt;
    const std::string_view eol = LineEndOf(text);

    LineReader reader(text);
    Line line;
    bool inSection = false;
    bool sectionFound = false;
    Line insertAfter;  // header or last line of the section that is not blank
    Line last;
    while (reader.Next(line)) {
        last = line;
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const ParsedLine parsed = ParseLine(content);
        if (parsed.kind == LineKind::kSection) {
            if (inSection) break;
            if (SameName(parsed.name, section)) {
                inSection = sectionFound = true;
                insertAfter = line;
            }
        } else if (inSection && parsed.kind == LineKind::kKey && SameName(parsed.name, key)) {
            std::string out;
            const std::size_t valueBegin = line.begin + parsed.valueOffset;
            out.reserve(text.size() + value.size());
            out.append(text.substr(0, valueBegin));
            if (!parsed.hasEquals) out.append("=");
            out.append(value);
            out.append(text.substr(line.contentEnd));
            return out;
        } else if (inSection && !Trim(content).empty()) {
            insertAfter = line;
        }
    }

    // A new key goes after the section's last line that is not blank, a new
    // section at the end of the text.
    const std::size_t at = sectionFound ? insertAfter.end : text.size();
    std::string out(text.substr(0, at));
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (at > 0 && at == last.end && !last.terminated)  // a last line without its end
        out.append(CompletingLineEnd(text, eol));
    if (!sectionFound) out.append("[").append(section).append("]").append(eol);
    out.append(key).append("=").append(value).append(eol);
    out.append(text.substr(at));
    return out;
}

}  // namespace qm71
