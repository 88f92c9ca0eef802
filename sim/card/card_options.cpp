#include "sim/card/card_options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace qm71::sim {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Whole-string integer, decimal or 0x hex.
bool ParseInteger(std::string_view s, long long& value) {
    int radix = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        radix = 16;
    }
    if (s.empty() || s.front() == '-' || s.front() == '+') return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, radix);
    return ec == std::errc() && end == s.data() + s.size();
}

bool ParseRange(std::string_view s, long long low, long long high, long long& value) {
    return ParseInteger(s, value) && value >= low && value <= high;
}

bool Fail(std::string& error, std::string_view key, std::string_view value,
          std::string_view expected) {
    error = "bad value \"" + std::string(value) + "\" for " + std::string(key) + ": expected " +
            std::string(expected);
    return false;
}

bool ApplyItem(std::string_view key, std::string_view value, bool hasValue, CardOptions& o,
               std::string& error) {
    long long n = 0;
    if (key == "fps") {
        double fps = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), fps);
        if (value.empty() || ec != std::errc() || end != value.data() + value.size() ||
            !std::isfinite(fps) || !(fps == 0 || (fps >= 0.01 && fps <= 100000)))
            return Fail(error, key, value, "0 or a frame rate from 0.01 to 100000");
        o.fps = fps;
    } else if (key == "base") {
        if (!ParseRange(value, 0, 0xFFFF, n))
            return Fail(error, key, value, "a 16-bit number such as 0x720");
        o.reportedBase = static_cast<std::uint16_t>(n);
    } else if (key == "download-error") {
        const auto colon = value.find(':');
        long long attempts = 0;
        if (colon == std::string_view::npos || !ParseRange(value.substr(0, colon), 0, 255, n) ||
            !ParseRange(value.substr(colon + 1), 0, 255, attempts))
            return Fail(error, key, value, "error:attempts, each 0 to 255, such as 3:2");
        o.downloadError = static_cast<int>(n);
        o.downloadAttempts = static_cast<int>(attempts);
    } else if (key == "stall-after-rows") {
        if (!ParseRange(value, 0, 1LL << 50, n))
            return Fail(error, key, value, "a row count of 0 or more");
        o.stallAfterRows = n;
    } else if (key == "noise") {
        if (!ParseRange(value, 0, 1023, n)) return Fail(error, key, value, "0 to 1023");
        o.noise = static_cast<int>(n);
    } else if (key == "no-trigger" || key == "trace") {
        bool& flag = key == "trace" ? o.trace : o.noTrigger;
        if (!hasValue || value == "1") {
            flag = true;
        } else if (value == "0") {
            flag = false;
        } else {
            return Fail(error, key, value, "nothing, 0 or 1");
        }
    } else {
        error = "unknown option \"" + std::string(key) +
                "\" (known: fps, base, download-error, stall-after-rows, no-trigger, trace, noise)";
        return false;
    }
    return true;
}

}  // namespace

CardOptions AreaCameraOptions() {
    return {};
}

CardOptions LineCameraOptions() {
    CardOptions o;
    o.rowsPerFrame = 640;
    o.rowBytes = 5000;
    o.lineCamera = true;
    o.triggeredPictureLines = 639;
    return o;
}

bool ParseCardOptions(std::string_view text, CardOptions& options, std::string& error) {
    CardOptions parsed = options;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (item.empty()) continue;
        const auto equals = item.find('=');
        const bool hasValue = equals != std::string_view::npos;
        const std::string_view key = Trim(item.substr(0, equals));
        const std::string_view value = hasValue ? Trim(item.substr(equals + 1)) : "";
        if (!ApplyItem(key, value, hasValue, parsed, error)) return false;
    }
    options = parsed;
    return true;
}

std::string DescribeCardOptions(const CardOptions& o) {
    std::ostringstream out;
    char base[16];
    std::snprintf(base, sizeof base, "0x%X", static_cast<unsigned>(o.reportedBase));
    out << "simulated card (fps=" << o.fps << ", base " << base;
    if (o.downloadError != 0)
        out << ", download error " << o.downloadError << " after " << o.downloadAttempts
            << " attempts";
    if (o.stallAfterRows >= 0) out << ", stalls after " << o.stallAfterRows << " rows";
    if (o.noTrigger) out << ", no trigger";
    if (o.trace) out << ", trace";
    if (o.noise != 0) out << ", noise " << o.noise;
    out << ")";
    return out.str();
}

}  // namespace qm71::sim
