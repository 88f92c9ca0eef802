// qm71-camsim for a test under Wine. A Windows process cannot start the Linux
// emulator, so camsim-wine.sh, which the test runs under, does it: the test
// writes a request into the folder QM71_CAMSIM_REQUESTS names,
// "camsim-<port>.request" with "start" and the options, or "stop", one a line;
// the script carries it out and answers in "camsim-<port>.done", "ok" or what
// went wrong. (A file named "COM1.anything" would be the port itself.) COM1 and COM2 of
// the Wine prefix lead to the emulator's terminals.
#include "testing/camsim.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/win32/win32_serial_line.h"

namespace qm71::testing {

namespace {

namespace fs = std::filesystem;

// Hands `lines` to the script for `port` and returns its answer.
std::string Ask(const std::string& port, const std::vector<std::string>& lines) {
    const char* folder = std::getenv("QM71_CAMSIM_REQUESTS");
    if (folder == nullptr)
        return "QM71_CAMSIM_REQUESTS is not set: run the test through camsim-wine.sh";
    const fs::path base = fs::path(folder) / ("camsim-" + port);
    const fs::path request = base.string() + ".request";
    const fs::path done = base.string() + ".done";
    const fs::path partial = base.string() + ".writing";
    {
        std::ofstream out(partial, std::ios::binary);  // lines end in \n alone
        for (const auto& line : lines) out << line << '\n';
    }
    // The script sees the request whole or not at all.
    if (!::MoveFileExA(partial.string().c_str(), request.string().c_str(),
                       MOVEFILE_REPLACE_EXISTING)) {
        return "cannot hand over " + request.string() + ": error " +
               std::to_string(::GetLastError());
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(done)) {
        if (std::chrono::steady_clock::now() > giveUp) return "no answer from camsim-wine.sh";
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::ifstream in(done);
    std::string answer;
    std::getline(in, answer);
    in.close();
    ::DeleteFileA(done.string().c_str());
    return answer;
}

}  // namespace

std::unique_ptr<SerialLine> MakeSystemSerialLine() {
    return std::make_unique<Win32SerialLine>();
}

Camsim::Camsim(const std::string& port, const std::vector<std::string>& options) : port_(port) {
    std::vector<std::string> lines{"start"};
    lines.insert(lines.end(), options.begin(), options.end());
    const std::string answer = Ask(port, lines);
    EXPECT_EQ(answer, "ok") << "qm71-camsim on " << port;
    process_ = answer == "ok" ? 1 : -1;
}

Camsim::~Camsim() {
    if (process_ > 0) {
        EXPECT_EQ(Ask(port_, {"stop"}), "ok") << "qm71-camsim on " << port_;
    }
}

}  // namespace qm71::testing
