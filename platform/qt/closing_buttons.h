#pragma once

#include <functional>
#include <optional>

class QDialog;

namespace qm71 {

// The dialog's model decides what a button does. Every button below `dialog`
// that carries a control id hands its clicks to `press`, which gives the
// result the dialog closes with, or nothing when it stays open; `show` then
// sets the controls again from the model, so a button shows what the model
// says, not what the click made of it.
void ForwardButtons(QDialog& dialog, std::function<std::optional<int>(int id)> press,
                    std::function<void()> show);

// Sets the check mark of every checkable button with a control id below
// `dialog`: on when `checked(id)`.
void ShowChecked(QDialog& dialog, const std::function<bool(int id)>& checked);

}  // namespace qm71
