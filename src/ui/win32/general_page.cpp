// The General page of the properties sheet: when the wallpaper changes, the interval, the
// time list, the switching options, the lock screen, favourites and the hidden pictures, and the
// desktop icon text options.
#include "ui/win32/general_page.h"

#include <commdlg.h>

#include <cwchar>
#include <span>
#include <string>
#include <vector>

#include "base/win32/deferred_import.h"
#include "base/win32/dpi.h"
#include "base/win32/gdi.h"
#include "base/win32/message_box.h"
#include "base/win32/wide_text.h"
#include "resource.h"
#include "ui/screen_geometry.h"
#include "ui/win32/time_of_day_dlg.h"

namespace {

constexpr std::initializer_list<int> kModeGroup = {IDC_ONLY_AT_STARTUP, IDC_AT_INTERVALS,
                                                   IDC_AT_TIMES};

// The check boxes and the values they exchange, in one table.
struct CheckField {
    int id;
    int GeneralPageValues::*value;
};
constexpr CheckField kChecks[] = {
    {IDC_INCLUDE_SUBFOLDERS, &GeneralPageValues::includeSubfolders},
    {IDC_ENFORCE_UNIQUE, &GeneralPageValues::enforceUniqueness},
    {IDC_RANDOMIZE, &GeneralPageValues::randomize},
    {IDC_TILE, &GeneralPageValues::tile},
    {IDC_HOLD_FULLSCREEN, &GeneralPageValues::holdWhenFullscreen},
    {IDC_HOLD_BATTERY, &GeneralPageValues::holdOnBattery},
    {IDC_NO_REPEATS, &GeneralPageValues::noRepeats},
    {IDC_UPRIGHT_PHOTOS, &GeneralPageValues::uprightPhotos},
    {IDC_START_AT_STARTUP, &GeneralPageValues::startSwitchingAtStartup},
    {IDC_HIDE_AT_STARTUP, &GeneralPageValues::hideAtStartup},
    {IDC_TRANSPARENT, &GeneralPageValues::transparent},
    {IDC_CONTROL_ICON_TEXT, &GeneralPageValues::controlIconText},
    {IDC_LOCK_SCREEN, &GeneralPageValues::lockScreen},
};

// The drop-down lists and the values they exchange, their items in the order of the values.
struct ChoiceField {
    int id;
    int GeneralPageValues::*value;
    std::span<const char* const> items;
};
constexpr ChoiceField kChoices[] = {
    {IDC_FAVOURITES, &GeneralPageValues::favourites, kFavouritesChoices},
};

}  // namespace

void CGeneralPage::OnInit() {
    SetCheckedRadio(kModeGroup, values.switchMode);
    for (const CheckField& check : kChecks) {
        SetChecked(check.id, values.*check.value != 0);
    }
    SetItemText(IDC_INTERVAL, values.interval);
    for (const ChoiceField& choice : kChoices) {
        for (const char* item : choice.items) {
            SendMessageW(Item(choice.id), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Widen(item).c_str()));
        }
        SetComboSelection(choice.id, values.*choice.value);
    }
    EnableItem(IDC_HIDDEN_PICTURES, static_cast<bool>(values.showHiddenPictures));
    // A disabled check box keeps its value: OK stores it unchanged.
    const LockScreenLine lockScreen =
        ComputeLockScreenLine(values.lockScreenAvailable, values.lockScreenNote);
    EnableItem(IDC_LOCK_SCREEN, lockScreen.enabled);
    SetItemText(IDC_LOCK_SCREEN_NOTE, lockScreen.note);
    AddContextHelpToSheet();
    UpdateEnabling();
    HWND list = Item(IDC_TIME_LIST);
    for (const std::string& time : values.times) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(time).c_str()));
    }
    if (!ComputeGeneralEnabling(values.switchMode, 0, false, osVersion).iconTextAll) {
        for (int id :
             {IDC_CONTROL_ICON_TEXT, IDC_TRANSPARENT, IDC_ICON_TEXT_GROUP, IDC_TEXT_COLOR}) {
            ShowItem(id, false);
        }
    }
}

void CGeneralPage::ReadControls() {
    values.switchMode = CheckedRadio(kModeGroup);
    for (const CheckField& check : kChecks) {
        values.*check.value = IsChecked(check.id) ? 1 : 0;
    }
    values.interval = ItemText(IDC_INTERVAL);
    for (const ChoiceField& choice : kChoices) {
        values.*choice.value = ComboSelection(choice.id);
    }
}

std::optional<FieldError> CGeneralPage::ReadBack() {
    ReadControls();
    return std::nullopt;
}

void CGeneralPage::UpdateEnabling() {
    ReadControls();
    int selected = static_cast<int>(SendMessageW(Item(IDC_TIME_LIST), LB_GETSELCOUNT, 0, 0));
    GeneralEnabling e = ComputeGeneralEnabling(values.switchMode, selected > 0 ? selected : 0,
                                               values.controlIconText != 0, osVersion);
    EnableItem(IDC_RATE_GROUP, e.interval);
    EnableItem(IDC_INTERVAL, e.interval);
    EnableItem(IDC_TIME_LIST, e.timeList);
    EnableItem(IDC_ADD_TIME, e.timeList);
    EnableItem(IDC_REMOVE_TIME, e.removeTime);
    if (e.iconTextAll) {
        for (int id : {IDC_ICON_TEXT_GROUP, IDC_TRANSPARENT, IDC_TEXT_COLOR}) {
            ShowItem(id, e.iconTextShown);
        }
    }
}

bool CGeneralPage::OnCommand(int id, int code, HWND) {
    switch (id) {
        case IDC_ONLY_AT_STARTUP:
        case IDC_AT_INTERVALS:
        case IDC_AT_TIMES:
        case IDC_CONTROL_ICON_TEXT:
            if (code == BN_CLICKED) {
                UpdateEnabling();
            }
            return true;
        case IDC_TIME_LIST:
            if (code == LBN_SELCHANGE) {
                UpdateEnabling();
            }
            return true;
        case IDC_INTERVAL:
            if (code == EN_KILLFOCUS) {
                ValidateInterval();
            }
            return true;
        case IDC_ADD_TIME:
            if (code == BN_CLICKED) {
                AddTime();
            }
            return true;
        case IDC_REMOVE_TIME:
            if (code == BN_CLICKED) {
                RemoveTimes();
            }
            return true;
        case IDC_TEXT_COLOR:
            if (code == BN_CLICKED) {
                ChooseTextColor();
            }
            return true;
        case IDC_HIDDEN_PICTURES:
            if (code == BN_CLICKED) {
                ShowHiddenPictures();
            }
            return true;
        default:
            return false;
    }
}

void CGeneralPage::ValidateInterval() {
    ReadControls();
    IntervalCheck check = CheckInterval(values.switchMode, values.interval);
    if (check.outcome == IntervalCheck::Outcome::Refuse) {
        ShowMessageBox(Handle(), kIntervalFormatMessage);
    } else if (check.outcome == IntervalCheck::Outcome::Replace) {
        values.interval = check.text;
        SetItemText(IDC_INTERVAL, values.interval);
    }
}

void CGeneralPage::AddTime() {
    CTimeOfDayDlg dialog(instance);
    if (dialog.DoModal(Sheet()) != IDOK || Handle() == nullptr) {
        return;
    }
    SendMessageW(Item(IDC_TIME_LIST), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Widen(dialog.timeText).c_str()));
    RebuildTimes();
}

void CGeneralPage::RemoveTimes() {
    HWND list = Item(IDC_TIME_LIST);
    for (int i = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) - 1; i >= 0; --i) {
        if (SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
            SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(i), 0);
        }
    }
    RebuildTimes();
    UpdateEnabling();
}

void CGeneralPage::RebuildTimes() {
    HWND list = Item(IDC_TIME_LIST);
    values.times.clear();
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
        std::vector<wchar_t> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        values.times.push_back(Narrow(text.data()));
    }
}

void CGeneralPage::ChooseTextColor() {
    static COLORREF customColors[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = Handle();
    choose.rgbResult = values.textColor;
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT;
    auto* chooseColor = DeferredImport<decltype(ChooseColorW)>("comdlg32.dll", "ChooseColorW");
    if (chooseColor == nullptr || !chooseColor(&choose) || Handle() == nullptr) {
        return;
    }
    values.textColor = choose.rgbResult;
    InvalidateRect(Handle(), nullptr, FALSE);
    InvalidateRect(Item(IDC_TEXT_COLOR), nullptr, FALSE);
}

void CGeneralPage::ShowHiddenPictures() {
    if (values.showHiddenPictures) {
        values.showHiddenPictures(Sheet());
    }
}

bool CGeneralPage::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) {
        return false;
    }
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlID != IDC_TEXT_COLOR) {
        return false;
    }
    DrawTextColorButton(item);
    result = TRUE;
    return true;
}

void CGeneralPage::DrawTextColorButton(const DRAWITEMSTRUCT& item) const {
    RECT frame = item.rcItem;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    bool pushed = (item.itemAction & ODA_SELECT) != 0 && (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item.hDC, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    // Text and frames in the system's colours, so a high-contrast scheme shows them; the colour
    // is also given as text, not by the sample alone.
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const COLORREF ink = GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(item.hDC, ink);

    // The colour sample: 16 logical units square, 6 from the right edge.
    const int dpi = WindowDpi(item.hwndItem);
    const int sample = ScaleForDpi(16, dpi);
    const int top = (height - sample) / 2;
    const int right = width - ScaleForDpi(6, dpi);
    {
        UniqueGdiObject brush(CreateSolidBrush(values.textColor));
        UniqueGdiObject pen(CreatePen(PS_SOLID, 1, ink));
        ScopedSelectObject selectedBrush(item.hDC, brush.Get());
        ScopedSelectObject selectedPen(item.hDC, pen.Get());
        Rectangle(item.hDC, right - sample, top, right, top + sample);
    }

    RECT text = item.rcItem;
    text.left += ScaleForDpi(4, dpi);
    wchar_t label[64] = {};
    GetWindowTextW(item.hwndItem, label, 64);
    const UINT prefix = (item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    DrawTextW(item.hDC, label, -1, &text, DT_SINGLELINE | DT_VCENTER | prefix);
    wchar_t value[8] = {};
    swprintf(value, 8, L"#%02X%02X%02X", GetRValue(values.textColor), GetGValue(values.textColor),
             GetBValue(values.textColor));
    RECT valueRect = item.rcItem;
    valueRect.right = right - sample - ScaleForDpi(4, dpi);
    DrawTextW(item.hDC, value, -1, &valueRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    SetTextColor(item.hDC, oldColor);
    SetBkMode(item.hDC, oldMode);

    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -ScaleForDpi(3, dpi), -ScaleForDpi(3, dpi));
        DrawFocusRect(item.hDC, &focus);
    }
}
