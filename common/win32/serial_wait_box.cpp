#include "common/win32/serial_wait_box.h"

#include <algorithm>

#include "common/win32/idle_loop.h"
#include "common/win32/text.h"

namespace qm71::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QM71WaitBox";
constexpr int kMargin = 12;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

std::string Replaced(std::string text, const std::string& port) {
    if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, port);
    return text;
}

}  // namespace

SerialWaitBox::SerialWaitBox(std::string caption, std::string text,
                             std::chrono::milliseconds showAfter)
    : SerialWaitBoxBase(showAfter), caption_(std::move(caption)), text_(std::move(text)) {}

SerialWaitBox::~SerialWaitBox() {
    HideBox();
}

void SerialWaitBox::HandleEvents(bool all) {
    // Windows the pointer passes set their own cursor; the wait cursor stays
    // until the box is up.
    const HCURSOR cursor = GetCursor();
    if (!PumpMessages(all, box_)) {
        // The program is to end: the wait is over.
        Cancelled();
        return;
    }
    if (!all) SetCursor(cursor);
}

bool SerialWaitBox::ShowBox(const std::string& port) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);

    // The text's size decides the box's.
    const std::wstring text = Widen(Replaced(text_, port));
    RECT textRect{0, 0, 0, 0};
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font_);
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int clientW = std::max<int>(textRect.right, kButtonWidth) + 2 * kMargin;
    const int clientH = textRect.bottom + 3 * kMargin + kButtonHeight;
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, clientW, clientH};
    AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;

    owner_ = GetActiveWindow();
    box_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, Widen(caption_).c_str(), kStyle,
                           (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                           (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, owner_, nullptr, instance,
                           this);
    if (!box_) return false;
    const HWND label =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, kMargin,
                        kMargin, textRect.right, textRect.bottom, box_, nullptr, instance, nullptr);
    const HWND cancel = CreateWindowExW(
        0, L"BUTTON", L"Abbrechen", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
        (clientW - kButtonWidth) / 2, textRect.bottom + 2 * kMargin, kButtonWidth, kButtonHeight,
        box_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(cancel, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(box_, SW_SHOW);
    SetFocus(cancel);
    // The wait cursor would hide that the box takes a click.
    cursor_ = SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return true;
}

void SerialWaitBox::HideBox() {
    if (box_) {
        // The owner first, so that it, not another program, becomes active.
        if (owner_) EnableWindow(owner_, TRUE);
        SetWindowLongPtrW(box_, GWLP_USERDATA, 0);
        DestroyWindow(box_);
        box_ = nullptr;
        owner_ = nullptr;
        SetCursor(cursor_);
    }
    if (font_) DeleteObject(font_);
    font_ = nullptr;
}

LRESULT CALLBACK SerialWaitBox::Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* self = reinterpret_cast<SerialWaitBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && ((message == WM_COMMAND && LOWORD(w) == IDCANCEL) || message == WM_CLOSE)) {
        self->Cancelled();
        return 0;
    }
    return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace qm71::win32
