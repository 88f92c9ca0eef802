#pragma once

#include <initializer_list>

class QButtonGroup;
class QDialog;

namespace qm71 {

// Buttons that "close with their id": a click on the control with one of
// these ids ends `dialog` with that id (QDialog::done). Ids without a button
// below the dialog are skipped.
void CloseWithIds(QDialog& dialog, std::initializer_list<int> ids);

// Puts the buttons with these ids into one exclusive group, so that one of
// them shows pressed, and presses the one with id `checked`; none when no
// button has that id. Clicking a pressed button again keeps it pressed.
QButtonGroup* ExclusiveButtons(QDialog& dialog, std::initializer_list<int> ids, int checked);

}  // namespace qm71
