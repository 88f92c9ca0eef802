#pragma once

#include "common/win32/dialog.h"
#include "sample/core/about_box_model.h"
#include "sample/core/size_dialog_model.h"

namespace qm71::win32 {

// Dialog 5000, "Interview: Bildgröße", over SizeDialogModel: opening it
// clears the grab mode; the averaging radios and the contrast box act when
// clicked, the three fields only on OK. Ends with 1 for OK, 0 for "Abbruch".
class SizeDialog final : public ButtonDialog {
  public:
    static constexpr int kTemplate = 5000;

    explicit SizeDialog(sample::SampleState& state) : model_(state) {}
    int Run(HWND owner) { return ModalDialog::Run(kTemplate, owner); }

  private:
    void OnInit() override;
    std::optional<int> Press(int id) override;
    void Show() override;

    sample::SizeDialogModel model_;
};

// The about box (5001) over AboutBoxModel: only "Ok" ends it.
class AboutDialog final : public ButtonDialog {
  public:
    static constexpr int kTemplate = 5001;
    static constexpr int kFirstLineId = 1001;  // the model's lines, in order

    int Run(HWND owner) { return ModalDialog::Run(kTemplate, owner); }

  private:
    void OnInit() override;
    std::optional<int> Press(int id) override { return sample::AboutBoxModel::Press(id); }
    void Show() override {}
};

}  // namespace qm71::win32
