// The Resizing page of the properties sheet: the resize policy and its parameters.
#pragma once

#include "ui/properties_rules.h"
#include "ui/win32/property_page.h"
#include "resource.h"

class CResizingPage : public CPropertyPage {
public:
    CResizingPage(HINSTANCE instance, ResizingPageValues& values)
        : CPropertyPage(instance, IDD_RESIZING_PAGE), values(values) {}

protected:
    void OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<FieldError> ReadBack() override;

private:
    void ApplyEnabling(const std::optional<FieldError>& refused);

    ResizingPageValues& values;
};
