#pragma once

#include "common/info_box.h"
#include "common/win32/dialog.h"

namespace qm71::win32 {

// The "Info" box (template 100) over InfoBox: the program icon (resource 2)
// is in the template; product, version line and button caption are set here.
class InfoDialog final : public ModalDialog {
  public:
    static constexpr int kTemplate = 100;
    static constexpr int kProductId = 1001;

    explicit InfoDialog(const ProgramInfo& program) : box_(program) {}
    int Run(HWND owner = nullptr) { return ModalDialog::Run(kTemplate, owner); }

  private:
    void OnInit() override;
    void OnCommand(int id, int code) override;

    InfoBox box_;
};

}  // namespace qm71::win32
