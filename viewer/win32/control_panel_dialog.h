#pragma once

#include "common/win32/dialog.h"
#include "viewer/core/control_panel.h"

namespace qm71::win32 {

// The viewer's control panel (template 137) over ControlPanel.
class ControlPanelDialog final : public ButtonDialog {
  public:
    static constexpr int kTemplate = 137;

    explicit ControlPanelDialog(ControlPanelHost& host) : model_(host) {}
    int Run(HWND owner) { return ModalDialog::Run(kTemplate, owner); }

  private:
    std::optional<int> Press(int id) override { return model_.Press(id); }
    void Show() override;

    ControlPanel model_;
};

}  // namespace qm71::win32
