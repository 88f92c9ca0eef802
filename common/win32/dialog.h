#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace qm71::win32 {

// A modal dialog from a template in the program's resources, bound to its
// model by a subclass. Dialogs live on the stack for one run.
class ModalDialog {
  public:
    virtual ~ModalDialog() = default;

    // Runs the dialog of template `templateId` over `owner` (null: the active
    // window) and returns what it ended with; -1 when it could not be made.
    int Run(int templateId, HWND owner = nullptr);

  protected:
    virtual void OnInit() {}
    // WM_COMMAND from control `id` with notification `code`.
    virtual void OnCommand(int id, int code) = 0;
    // Any other message; true when handled, with its result in `result`.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    void End(int result) { EndDialog(hwnd_, result); }

    void SetText(int id, std::string_view text);
    std::string Text(int id) const;
    void SetCaption(std::string_view text);
    void Check(int id, bool on) { CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    bool Checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

  private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);

    HWND hwnd_ = nullptr;
};

// A dialog whose model decides what its buttons do: every click, and Enter
// and Escape as the ids 1 and 2, goes to Press(), which gives the result the
// dialog closes with, or nothing when it stays open; Show() then sets the
// controls again from the model, so a button shows what the model says, not
// what the click made of it.
class ButtonDialog : public ModalDialog {
  protected:
    virtual std::optional<int> Press(int id) = 0;
    virtual void Show() = 0;

    void OnInit() override { Show(); }
    void OnCommand(int id, int code) override;
};

}  // namespace qm71::win32
