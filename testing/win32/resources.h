#pragma once

// What a Win32 program's wiring tests read back from its own resources.
#include <windows.h>

#include <tuple>
#include <vector>

#include "platform/accelerator.h"

namespace qm71::testing {

inline INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The ids among `ids` that dialog template `templateId` has no control for;
// {-1} when the template cannot be made at all.
inline std::vector<int> MissingControls(const wchar_t* templateId, const std::vector<int>& ids) {
    const HWND dialog =
        CreateDialogParamW(GetModuleHandleW(nullptr), templateId, nullptr, QuietDialog, 0);
    if (!dialog) return {-1};
    std::vector<int> missing;
    for (const int control : ids)
        if (!GetDlgItem(dialog, control)) missing.push_back(control);
    DestroyWindow(dialog);
    return missing;
}

using AcceleratorEntry = std::tuple<int, int, int>;  // key, modifiers, command

// Accelerator table `name` as the logic's tables spell it; virtual keys only.
inline std::vector<AcceleratorEntry> LoadedAccelerators(const wchar_t* name) {
    const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), name);
    if (!table) return {};
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    std::vector<AcceleratorEntry> loaded;
    for (const ACCEL& a : entries)
        loaded.emplace_back((a.fVirt & FVIRTKEY) ? a.key : -1,
                            ((a.fVirt & FSHIFT) ? kModShift : 0) |
                                ((a.fVirt & FCONTROL) ? kModControl : 0) |
                                ((a.fVirt & FALT) ? kModAlt : 0),
                            a.cmd);
    return loaded;
}

template <typename Table>
std::vector<AcceleratorEntry> Entries(const Table& table) {
    std::vector<AcceleratorEntry> entries;
    for (const Accelerator& a : table) entries.emplace_back(a.key, a.modifiers, a.command);
    return entries;
}

}  // namespace qm71::testing
