#include "common/win32/colours_dialog.h"

#include <commctrl.h>

#include <array>

namespace qm71::win32 {

namespace {

using M = ColoursDialogModel;
// By ColoursDialogModel::Band and ::Value.
constexpr std::array<int, 3> kLists{ColoursDialog::kBackgroundList, ColoursDialog::kMiddleList,
                                    ColoursDialog::kForegroundList};
constexpr std::array<int, 2> kEdits{ColoursDialog::kThreshEdit, ColoursDialog::kMitteEdit};
constexpr std::array<int, 2> kSliders{ColoursDialog::kThreshSlider, ColoursDialog::kMitteSlider};

template <std::size_t N>
int IndexOf(const std::array<int, N>& ids, int id) {
    for (std::size_t i = 0; i < N; ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

}  // namespace

void ColoursDialog::OnInit() {
    model_.emplace(host_);
    for (const int list : kLists)
        for (int item = 0; item < kColourCount; ++item)
            SendDlgItemMessageW(Handle(), list, CB_ADDSTRING, 0, ColourIndexOfItem(item));
    for (const int slider : kSliders) {
        SendDlgItemMessageW(Handle(), slider, TBM_SETRANGE, FALSE,
                            MAKELPARAM(M::kTrackbarMin, M::kTrackbarMax));
        SendDlgItemMessageW(Handle(), slider, TBM_SETTICFREQ, M::kTickInterval, 0);
    }
    Show();
}

void ColoursDialog::Show() {
    const M::View& view = model_->Shown();
    showing_ = true;
    for (std::size_t b = 0; b < kLists.size(); ++b)
        SendDlgItemMessageW(Handle(), kLists[b], CB_SETCURSEL, WPARAM(view.item[b]), 0);
    for (std::size_t v = 0; v < kEdits.size(); ++v) {
        // Text being typed stays as it is, caret and all.
        if (Text(kEdits[v]) != view.text[v]) SetText(kEdits[v], view.text[v]);
        SendDlgItemMessageW(Handle(), kSliders[v], TBM_SETPOS, TRUE, view.position[v]);
    }
    showing_ = false;
}

void ColoursDialog::OnCommand(int id, int code) {
    if (id == IDOK) {
        End(model_->Ok());
    } else if (id == IDCANCEL) {
        End(model_->Cancel());
    } else if (const int b = IndexOf(kLists, id); b >= 0 && code == CBN_SELCHANGE) {
        const auto item = SendDlgItemMessageW(Handle(), id, CB_GETCURSEL, 0, 0);
        model_->ChooseItem(M::Band(b), static_cast<int>(item));
        Show();
    } else if (const int v = IndexOf(kEdits, id); v >= 0 && code == EN_CHANGE && !showing_) {
        model_->TypeText(M::Value(v), Text(id));
        Show();
    }
}

bool ColoursDialog::OnMessage(UINT message, WPARAM, LPARAM l, INT_PTR& result) {
    switch (message) {
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = kItemHeight;
            result = TRUE;
            return true;
        case WM_DRAWITEM:
            if (!model_) return false;
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
            result = TRUE;
            return true;
        case WM_HSCROLL: {
            const int v = IndexOf(kSliders, GetDlgCtrlID(reinterpret_cast<HWND>(l)));
            if (v < 0 || !model_) return false;
            const auto position = SendMessageW(reinterpret_cast<HWND>(l), TBM_GETPOS, 0, 0);
            model_->MoveTrackbar(M::Value(v), static_cast<int>(position));
            Show();
            return true;
        }
        default:
            return false;
    }
}

void ColoursDialog::DrawItem(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    if (item.itemID >= UINT(kColourCount)) return;  // an empty list's face
    // A bump edge round the selected item, a raised one round the others,
    // and the colour inside.
    InflateRect(&r, -1, -1);
    DrawEdge(dc, &r, (item.itemState & ODS_SELECTED) ? EDGE_BUMP : EDGE_RAISED, BF_RECT);
    InflateRect(&r, -3, -3);
    if (r.right <= r.left || r.bottom <= r.top) return;
    const PaletteEntry c = model_->ItemColours()[item.itemID];
    const HBRUSH brush = CreateSolidBrush(RGB(c.red, c.green, c.blue));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace qm71::win32
