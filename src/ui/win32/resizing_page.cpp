// The Resizing page of the properties sheet: the resize policy and its parameters.
#include "ui/win32/resizing_page.h"

#include "resource.h"
#include "base/win32/wide_text.h"

namespace {

// The radio buttons in dialog order: the index is the resize mode.
constexpr std::initializer_list<int> kResizeGroup = {IDC_REDUCE_LARGE,    IDC_RESIZE_FILL,
                                                     IDC_RESIZE_STANDARD, IDC_RESIZE_CUSTOM,
                                                     IDC_RESIZE_COVER,    IDC_RESIZE_FRAMED};
// In the order of the render's standard sizes; new ones go at the end, so a stored index keeps
// its size.
constexpr const char* kStandardSizes[] = {"640x480",  "800x600",   "1024x768",  "1152x864",
                                          "1152x882", "1280x1024", "1600x1200", "1280x720",
                                          "1366x768", "1920x1080", "2560x1440", "3840x2160"};
constexpr const char* kReductionMethods[] = {"Eliminate Pixels", "Favor Black", "Favor White",
                                             "Average Colors"};

}  // namespace

void CResizingPage::OnInit() {
    for (const char* size : kStandardSizes) {
        SendMessageW(Item(IDC_STANDARD_SIZE), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(size).c_str()));
    }
    for (const char* method : kReductionMethods) {
        SendMessageW(Item(IDC_REDUCTION), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(method).c_str()));
    }
    SetChecked(IDC_RETAIN_ASPECT, values.retainAspect != 0);
    SetItemText(IDC_CUSTOM_WIDTH, std::to_string(values.width));
    SetCheckedRadio(kResizeGroup, values.resizeChoice);
    SetItemText(IDC_CUSTOM_HEIGHT, std::to_string(values.height));
    SetComboSelection(IDC_REDUCTION, values.reductionChoice);
    SetComboSelection(IDC_STANDARD_SIZE, values.sizeChoice);
    SetChecked(IDC_PICTURE_COLOR, values.pictureColor != 0);
    AddContextHelpToSheet();
    // The values as the controls hold them; they are valid, so nothing is shown.
    ReadBack();
    ApplyEnabling(std::nullopt);
}

std::optional<FieldError> CResizingPage::ReadBack() {
    ResizingPageControls controls{
        IsChecked(IDC_RETAIN_ASPECT) ? 1 : 0, ItemText(IDC_CUSTOM_WIDTH),
        CheckedRadio(kResizeGroup),           ItemText(IDC_CUSTOM_HEIGHT),
        ComboSelection(IDC_REDUCTION),        ComboSelection(IDC_STANDARD_SIZE),
        IsChecked(IDC_PICTURE_COLOR) ? 1 : 0};
    return ReadResizingPage(controls, values);
}

void CResizingPage::ApplyEnabling(const std::optional<FieldError>& refused) {
    // The choice as the user sees it, also when a field before it was refused.
    ResizingEnabling e = ComputeResizingEnabling(CheckedRadio(kResizeGroup), refused);
    EnableItem(IDC_STANDARD_SIZE, e.sizeList);
    EnableItem(IDC_CUSTOM_WIDTH, e.customSize);
    EnableItem(IDC_CUSTOM_HEIGHT, e.customSize);
    EnableItem(IDC_RETAIN_ASPECT, e.retainAspect);
}

bool CResizingPage::OnCommand(int id, int code, HWND) {
    switch (id) {
        case IDC_REDUCE_LARGE:
        case IDC_RESIZE_FILL:
        case IDC_RESIZE_STANDARD:
        case IDC_RESIZE_CUSTOM:
        case IDC_RESIZE_COVER:
        case IDC_RESIZE_FRAMED:
            if (code == BN_CLICKED) {
                std::optional<FieldError> error = ReadBack();
                // Enabled before the message: the field it sends the user to must take focus.
                ApplyEnabling(error);
                if (error) {
                    ShowFieldError(*error);
                }
            }
            return true;
        default:
            return false;
    }
}
