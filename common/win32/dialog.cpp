#include "common/win32/dialog.h"

#include "common/win32/text.h"

namespace qm71::win32 {

namespace {
// The dialog being made: owner-drawn controls ask for their item height
// before WM_INITDIALOG.
thread_local ModalDialog* creating = nullptr;
}  // namespace

int ModalDialog::Run(int templateId, HWND owner) {
    if (!owner) owner = GetActiveWindow();
    ModalDialog* const outer = creating;
    creating = this;
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                           owner, Proc, reinterpret_cast<LPARAM>(this));
    creating = outer;
    return static_cast<int>(result);
}

void ModalDialog::SetText(int id, std::string_view text) {
    SetDlgItemTextW(hwnd_, id, Widen(text).c_str());
}

std::string ModalDialog::Text(int id) const {
    const HWND item = Item(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), int(text.size()))));
    return Narrow(text);
}

void ModalDialog::SetCaption(std::string_view text) {
    SetWindowTextW(hwnd_, Widen(text).c_str());
}

INT_PTR CALLBACK ModalDialog::Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<ModalDialog*>(l);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, l);
        creating = nullptr;
        self->OnInit();
        return TRUE;  // the default focus
    }
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) self = creating;
    if (!self) return FALSE;
    if (message == WM_COMMAND && self->hwnd_) {
        self->OnCommand(LOWORD(w), HIWORD(w));
        return TRUE;
    }
    INT_PTR result = 0;
    if (!self->OnMessage(message, w, l, result)) return FALSE;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void ButtonDialog::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    const std::optional<int> result = Press(id);
    Show();
    if (result) End(*result);
}

}  // namespace qm71::win32
