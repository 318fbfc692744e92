// The Masking page of the properties sheet: the edge mask, the mask file and the outline.
#include "ui/win32/mask_page.h"

#include "resource.h"
#include "ui/win32/open_file_dialog.h"

namespace {

constexpr std::initializer_list<int> kMaskGroup = {IDC_EDGE_MASK, IDC_FILE_MASK, IDC_NO_MASK};

}  // namespace

void CMaskProperties::OnInit() {
    SetCheckedRadio(kMaskGroup, values.maskChoice);
    SetItemText(IDC_MASK_BOTTOM, std::to_string(values.bottom));
    SetItemText(IDC_MASK_LEFT, std::to_string(values.left));
    SetItemText(IDC_MASK_RIGHT, std::to_string(values.right));
    SetItemText(IDC_MASK_TOP, std::to_string(values.top));
    SetItemText(IDC_MASK_FILE, values.maskFile);
    SetChecked(IDC_MASK_OUTLINE, values.outline != 0);
    ApplyEnabling(std::nullopt);
}

std::optional<FieldError> CMaskProperties::ReadBack() {
    MaskPageControls controls{
        CheckedRadio(kMaskGroup),           ItemText(IDC_MASK_BOTTOM), ItemText(IDC_MASK_LEFT),
        ItemText(IDC_MASK_RIGHT),           ItemText(IDC_MASK_TOP),    ItemText(IDC_MASK_FILE),
        IsChecked(IDC_MASK_OUTLINE) ? 1 : 0};
    return ReadMaskPage(controls, values);
}

void CMaskProperties::ApplyEnabling(const std::optional<FieldError>& refused) {
    // The choice as the user sees it, also when a field after it was refused.
    MaskEnabling e = ComputeMaskEnabling(CheckedRadio(kMaskGroup), refused);
    for (int id : {IDC_MASK_LEFT, IDC_MASK_RIGHT, IDC_MASK_TOP, IDC_MASK_BOTTOM, IDC_EDGE_GROUP}) {
        EnableItem(id, e.edges);
    }
    for (int id : {IDC_MASK_FILE, IDC_MASK_BROWSE, IDC_FILE_GROUP}) {
        EnableItem(id, e.file);
    }
    EnableItem(IDC_MASK_OUTLINE, e.outline);
}

bool CMaskProperties::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_EDGE_MASK:
        case IDC_FILE_MASK:
        case IDC_NO_MASK: {
            std::optional<FieldError> error = ReadBack();
            // Enabled before the message: the field it sends the user to must take focus.
            ApplyEnabling(error);
            if (error) {
                ShowFieldError(*error);
            }
            return true;
        }
        case IDC_MASK_BROWSE:
            Browse();
            return true;
        default:
            return false;
    }
}

void CMaskProperties::Browse() {
    static const wchar_t kFilter[] = L"All Files (*.*)\0*.*\0";
    std::optional<std::string> path = AskForFile(Handle(), kFilter, nullptr, lastMaskDir);
    if (path && Handle() != nullptr) {
        SetItemText(IDC_MASK_FILE, *path);
    }
}
