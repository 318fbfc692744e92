// The Pictures page of the properties sheet: the smallest size and the shape.
#include "ui/win32/pictures_page.h"

#include <string>

#include "base/win32/wide_text.h"

void CPicturesPage::OnInit() {
    for (const char* item : kShapeChoices) {
        SendMessageW(Item(IDC_SHAPE), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(item).c_str()));
    }
    SetComboSelection(IDC_SHAPE, values.shapeFilter);
    SetItemText(IDC_MIN_SIZE, std::to_string(values.minSizePercent));
    AddContextHelpToSheet();
}

std::optional<FieldError> CPicturesPage::ReadBack() {
    values.shapeFilter = ComboSelection(IDC_SHAPE);
    return ReadMinSizeField(ItemText(IDC_MIN_SIZE), values.minSizePercent);
}
