#include "common/win32/command_line.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/win32/text.h"

namespace qm71 {

namespace {

std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; argv && i < count; ++i) args.push_back(Narrow(argv[i]));
    LocalFree(argv);
    return args;
}

// The handle a text for `which` goes to: the one inherited from the parent,
// else the parent's console.
HANDLE Output(DWORD which) {
    const HANDLE inherited = GetStdHandle(which);
    if (inherited && inherited != INVALID_HANDLE_VALUE) return inherited;
    static HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return INVALID_HANDLE_VALUE;
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

bool Write(DWORD which, const std::string& text) {
    if (text.empty()) return true;
    const HANDLE out = Output(which);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

}  // namespace

CommandLineOutcome HandleWindowsCommandLine(const ProgramHelp& help) {
    std::ostringstream out;
    std::ostringstream err;
    CommandLineOutcome outcome = HandleCommandLine(help, Arguments(), out, err);
    if (!Write(STD_OUTPUT_HANDLE, out.str()) && outcome.exitStatus == 0) outcome.exitStatus = 1;
    Write(STD_ERROR_HANDLE, err.str());
    return outcome;
}

}  // namespace qm71
