#include "common/win32/dib_window.h"

#include "common/win32/text.h"
#include "platform/accelerator.h"
#include "platform/dib/dib.h"

namespace qm71::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QM71Picture";

Rect RectOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

Point ScreenPoint(HWND hwnd, LPARAM l) {
    POINT p{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    ClientToScreen(hwnd, &p);
    return {p.x, p.y};
}

bool RegisterPictureClass(int icon, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &wc)) return true;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(icon));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

std::uint8_t HeldModifiers() {
    std::uint8_t m = kModNone;
    if (GetKeyState(VK_SHIFT) < 0) m |= kModShift;
    if (GetKeyState(VK_CONTROL) < 0) m |= kModControl;
    if (GetKeyState(VK_MENU) < 0) m |= kModAlt;
    return m;
}

DibWindow::DibWindow(WindowEvents& logic, Handlers handlers)
    : logic_(logic), handlers_(std::move(handlers)) {}

DibWindow::~DibWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool DibWindow::Create(const Look& look, const Rect& window, const std::function<void()>& created) {
    if (!RegisterPictureClass(look.icon, Proc)) return false;
    created_ = created;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HMENU menu = look.menu ? LoadMenuW(instance, look.menu) : nullptr;
    CreateWindowExW(0, kClassName, Widen(look.caption).c_str(), look.style, window.left, window.top,
                    window.Width(), window.Height(), nullptr, menu, instance, this);
    if (!hwnd_ && menu) DestroyMenu(menu);
    created_ = nullptr;
    return hwnd_ != nullptr;
}

void DibWindow::ShowAt(const Rect& window) {
    MoveWindow(window);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
}

void DibWindow::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

Rect DibWindow::FrameRect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return RectOf(r);
}

void DibWindow::MoveWindow(const Rect& window) {
    ::MoveWindow(hwnd_, window.left, window.top, window.Width(), window.Height(), TRUE);
}

void DibWindow::Invalidate(const Drawing& drawing) {
    shown_ = drawing;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void DibWindow::DrawNow(const Drawing& drawing) {
    shown_ = drawing;
    shown_.text.clear();
    if (const HDC dc = GetDC(hwnd_)) {
        PaintOn(dc, drawing);
        ReleaseDC(hwnd_, dc);
    }
    ValidateRect(hwnd_, nullptr);
}

void DibWindow::RedrawOtherWindows() {
    constexpr UINT kFlags =
        RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
    for (HWND w = GetWindow(hwnd_, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        RedrawWindow(w, nullptr, nullptr, kFlags);
    for (HWND w = GetWindow(hwnd_, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        RedrawWindow(w, nullptr, nullptr, kFlags);
}

void DibWindow::PaintOn(HDC dc, const Drawing& drawing) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    Paint(dc, RectOf(client), drawing, buffer_);
}

void DibWindow::Paint(HDC dc, const Rect& client, const Drawing& d,
                      std::vector<std::uint32_t>& buffer) {
    const Rect& from = d.source;
    const Rect& to = d.destination;
    const int saved = SaveDC(dc);
    const auto view = dib::ViewPackedDib(d.picture);
    if (view && to.Width() > 0 && to.Height() > 0 && from.Width() > 0 && from.Height() > 0) {
        const int w = to.Width();
        const int h = to.Height();
        buffer.resize(std::size_t(w) * std::size_t(h));
        dib::DrawDib(*view, {from.left, from.top, from.Width(), from.Height()},
                     {buffer.data(), w, h, w});
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down, as the renderer fills it
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, to.left, to.top, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), buffer.data(),
                          &info, DIB_RGB_COLORS);
        ExcludeClipRect(dc, to.left, to.top, to.right, to.bottom);
    }
    const RECT all{client.left, client.top, client.right, client.bottom};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RestoreDC(dc, saved);
    if (d.text.empty()) return;
    // Black on white, the text's top-left corner at its position.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    TextOutA(dc, d.textAt.x, d.textAt.y, d.text.data(), static_cast<int>(d.text.size()));
}

void DibWindow::ReportSize() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    logic_.OnSize(RectOf(client), FrameRect());
}

void DibWindow::Done(int command) {
    if (command != 0 && handlers_.command) handlers_.command(command);
}

LRESULT CALLBACK DibWindow::Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<DibWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DibWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->OnMessage(message, w, l) : DefWindowProcW(hwnd, message, w, l);
}

LRESULT DibWindow::OnMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_CREATE:
            if (created_) created_();
            return 0;
        case WM_SIZE:
        case WM_MOVE:
            ReportSize();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // every pixel is painted
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (const HDC dc = BeginPaint(hwnd_, &ps)) PaintOn(dc, shown_);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Done(logic_.OnKeyDown(static_cast<std::uint16_t>(w), HeldModifiers()));
            if (message == WM_SYSKEYDOWN) break;  // Alt+F4 and the like
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            logic_.OnKeyUp(static_cast<std::uint16_t>(w));
            if (message == WM_SYSKEYUP) break;
            return 0;
        case WM_SYSCHAR:
            // Alt+letter opens the menu it names; without a menu there is
            // nothing to look for, so no beep either.
            if (GetMenu(hwnd_)) break;
            return 0;
        case WM_COMMAND:
            if (l == 0) Done(LOWORD(w));  // a menu item
            return 0;
        case WM_LBUTTONDOWN:
            logic_.OnLButtonDown(ScreenPoint(hwnd_, l));
            return 0;
        case WM_MOUSEMOVE:
            logic_.OnMouseMove(ScreenPoint(hwnd_, l), (w & MK_LBUTTON) != 0);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            logic_.OnButtonUp();
            return 0;
        case WM_RBUTTONDOWN:
            Done(logic_.OnRButtonDown());
            return 0;
        case WM_SETFOCUS:
            logic_.OnSetFocus(HeldModifiers());
            return 0;
        case WM_KILLFOCUS:
            logic_.OnKillFocus();
            return 0;
        case WM_ENABLE:
            // A modal dialog or message box over the window disables it.
            logic_.OnModal(w == FALSE);
            return 0;
        case WM_ENDSESSION:
            // Logging off ends the program without destroying its window.
            if (w && handlers_.ending) handlers_.ending();
            return 0;
        case WM_DESTROY:
            if (handlers_.ending) handlers_.ending();
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, w, l);
}

}  // namespace qm71::win32
