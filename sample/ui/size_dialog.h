#pragma once

#include <QDialog>
#include <memory>

#include "sample/core/size_dialog_model.h"

namespace Ui {
class SizeDialog;
}

class QAbstractButton;

namespace qm71::sample {

// Dialog 5000, "Interview: Bildgröße". Opening it clears the grab mode; the
// averaging radios and the contrast box act when clicked, the three fields
// only on OK. exec() gives 1 for OK, 0 for "Abbruch".
class SizeDialog final : public QDialog {
  public:
    SizeDialog(SampleState& state, QWidget* parent = nullptr);
    ~SizeDialog() override;

    void accept() override;
    void reject() override;

    // Test access to the controls by their ids (2100, 3000..3008, 3020, 1, 2).
    QAbstractButton* Button(int id) const;
    void SetField(int id, const QString& text);

  private:
    void ShowChoices();

    SizeDialogModel model_;
    std::unique_ptr<Ui::SizeDialog> ui_;
};

}  // namespace qm71::sample
