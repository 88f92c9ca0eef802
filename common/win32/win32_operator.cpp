#include "common/win32/win32_operator.h"

#include <windows.h>

#include "common/win32/text.h"

namespace qm71 {

namespace {
HCURSOR Cursor(LPCSTR id) {
    return LoadCursorA(nullptr, id);
}
}  // namespace

void Win32Operator::Message(const std::string& text, const std::string& caption,
                            MessageStyle style) {
    const HWND owner =
        style.owner == MessageStyle::Owner::ActiveWindow ? GetActiveWindow() : nullptr;
    const UINT icon = style.icon == MessageStyle::Icon::Error ? MB_ICONERROR : 0;
    // The wait cursor must not hide that the program waits for the person now.
    if (waits_ > 0) SetCursor(Cursor(IDC_ARROW));
    MessageBoxW(owner, Widen(text).c_str(), Widen(caption.empty() ? programName_ : caption).c_str(),
                MB_OK | icon | (owner ? 0 : MB_TASKMODAL));
    if (waits_ > 0) SetCursor(Cursor(IDC_WAIT));
}

void Win32Operator::Beep() {
    MessageBeep(0);
}

void Win32Operator::BeginWait() {
    if (waits_++ == 0) SetCursor(Cursor(IDC_WAIT));
}

void Win32Operator::EndWait() {
    if (waits_ > 0 && --waits_ == 0) SetCursor(Cursor(IDC_ARROW));
}

}  // namespace qm71
