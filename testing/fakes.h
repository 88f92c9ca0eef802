#pragma once

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/driver_channel.h"
#include "platform/operator.h"
#include "platform/profile_store.h"
#include "platform/window_host.h"
#include "testing/recording_operator.h"

namespace qm71::testing {

// Settings in memory; remembers the order keys were written in.
class MemoryProfile final : public ProfileStore {
  public:
    int GetInt(std::string_view, std::string_view key, int defaultValue) override {
        reads.emplace_back(key);
        const auto it = values.find(std::string(key));
        return it == values.end() ? defaultValue : std::stoi(it->second);
    }
    bool WriteString(std::string_view, std::string_view key, std::string_view value) override {
        written.emplace_back(key);
        values[std::string(key)] = std::string(value);
        return writable;
    }
    WriteFailure LastWriteFailure() const override {
        return {"memory", writable ? "" : "Read-only file system"};
    }
    std::map<std::string, std::string> values;
    std::vector<std::string> reads;
    std::vector<std::string> written;
    bool writable = true;
};

// A card whose answers the test decides: `rows` tells LineCount what to report.
class ScriptedCard final : public DriverChannel {
  public:
    bool Open() override { return present; }
    bool Command(DriverRequest& r) override {
        log.push_back(r);
        if (r.subCommand == SubCommand::QueryBase) r.value1 = base;
        if (r.subCommand == SubCommand::Download) r.value1 = download;
        if (r.subCommand == SubCommand::LineCount) r.value1 = rows();
        return true;
    }
    bool TransferLine(const LineRequest& request) override {
        lines.push_back(request);
        // Each row is filled with its number, so a test can see where it landed.
        const auto row = static_cast<std::byte>(lines.size() - 1);
        for (std::uint32_t i = 0; i < request.count * 4; ++i) request.destination[i] = row;
        return true;
    }
    void Close() override {
        ++closes;
        logSizeAtClose = log.size();
    }

    // The requests sent, as their sub-command and values.
    using Request = std::tuple<SubCommand, int, int>;
    std::vector<Request> Requests() const {
        std::vector<Request> sent;
        for (const auto& r : log) sent.emplace_back(r.subCommand, r.value1, r.value2);
        return sent;
    }
    std::size_t Count(SubCommand sub) const {
        std::size_t n = 0;
        for (const auto& r : log) n += r.subCommand == sub;
        return n;
    }

    bool present = true;
    std::uint16_t base = 0x320;
    std::uint16_t download = 0x0100;  // no error, one attempt
    std::function<std::uint16_t()> rows = [] { return std::uint16_t{2056}; };
    std::vector<DriverRequest> log;
    std::vector<LineRequest> lines;
    int closes = 0;
    std::size_t logSizeAtClose = 0;
};

class FakeHost final : public WindowHost {
  public:
    void MoveWindow(const Rect& window) override { moves.push_back(window); }
    void Invalidate(const Drawing& drawing) override { shown = drawing; }
    void DrawNow(const Drawing& drawing) override {
        ++draws;
        drawn = shown = drawing;
        shown.text.clear();
    }
    void RedrawOtherWindows() override { ++redraws; }

    std::vector<Rect> moves;
    Drawing shown;  // what paints show
    Drawing drawn;  // the last drawing painted at once
    int draws = 0;
    int redraws = 0;
};

}  // namespace qm71::testing
