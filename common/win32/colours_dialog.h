#pragma once

#include <optional>

#include "common/colours_dialog_model.h"
#include "common/win32/dialog.h"
#include "resources/common/colours_ids.h"

namespace qm71::win32 {

// The "Farben" dialog (template 145) over ColoursDialogModel: three
// owner-drawn lists of colour swatches, two edits with their trackbars.
class ColoursDialog final : public ModalDialog {
  public:
    static constexpr int kTemplate = 145;
    using enum colours::ControlId;
    // Height of a colour list's items, in pixels.
    static constexpr int kItemHeight = 18;

    explicit ColoursDialog(ColoursHost& host) : host_(host) {}
    int Run(HWND owner = nullptr) { return ModalDialog::Run(kTemplate, owner); }

  private:
    void OnInit() override;
    void OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM w, LPARAM l, INT_PTR& result) override;
    // Sets every control from the model without hearing it as the user.
    void Show();
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    ColoursHost& host_;
    std::optional<ColoursDialogModel> model_;
    bool showing_ = false;
};

}  // namespace qm71::win32
