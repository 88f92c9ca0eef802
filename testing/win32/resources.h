#pragma once

// What a Win32 program's wiring tests read from its own resources.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <span>
#include <tuple>
#include <vector>

#include "platform/accelerator.h"

namespace qm71::testing {

inline INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The ids among `ids` that dialog template `templateId` has no control for;
// {-1} when the template cannot be made at all.
inline std::vector<int> MissingControls(const wchar_t* templateName, const std::vector<int>& ids) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND dialog =
        CreateDialogParamW(GetModuleHandleW(nullptr), templateName, nullptr, QuietDialog, 0);
    if (!dialog) return {-1};
    std::vector<int> missing;
    for (const int control : ids)
        if (!GetDlgItem(dialog, control)) missing.push_back(control);
    DestroyWindow(dialog);
    return missing;
}
inline std::vector<int> MissingControls(int templateId, const std::vector<int>& ids) {
    return MissingControls(MAKEINTRESOURCEW(templateId), ids);
}

// An accelerator as key, modifiers (kModShift ...) and command.
using KeyEntry = std::tuple<int, int, int>;

inline std::vector<KeyEntry> KeyEntries(std::span<const Accelerator> table) {
    std::vector<KeyEntry> entries;
    for (const Accelerator& a : table) entries.emplace_back(a.key, a.modifiers, a.command);
    return entries;
}

// Accelerator table `name` of the program in its order; every entry must be a
// virtual key, else its key is given as -1.
inline std::vector<KeyEntry> LoadedKeyEntries(const wchar_t* name) {
    const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), name);
    if (!table) return {};
    std::vector<ACCEL> loaded(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, loaded.data(), static_cast<int>(loaded.size()));
    std::vector<KeyEntry> entries;
    for (const ACCEL& a : loaded)
        entries.emplace_back((a.fVirt & FVIRTKEY) ? a.key : -1,
                             ((a.fVirt & FSHIFT) ? kModShift : 0) |
                                 ((a.fVirt & FCONTROL) ? kModControl : 0) |
                                 ((a.fVirt & FALT) ? kModAlt : 0),
                             a.cmd);
    return entries;
}

inline std::vector<KeyEntry> LoadedKeyEntries(int id) {
    return LoadedKeyEntries(MAKEINTRESOURCEW(id));
}

// The program holds icon group `id` (a number) and a version resource.
inline bool HasIconAndVersion(int id) {
    const HMODULE self = GetModuleHandleW(nullptr);
    return FindResourceW(self, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14)) &&  // RT_GROUP_ICON
           FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));     // RT_VERSION
}

}  // namespace qm71::testing
