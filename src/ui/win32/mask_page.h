// The Masking page of the properties sheet: the edge mask, the mask file and the outline.
#pragma once

#include <string>

#include "ui/properties_rules.h"
#include "ui/win32/property_page.h"
#include "resource.h"

class CMaskProperties : public CPropertyPage {
public:
    // The Browse button remembers its folder in lastMaskDir.
    CMaskProperties(HINSTANCE instance, MaskPageValues& values, std::string& lastMaskDir)
        : CPropertyPage(instance, IDD_MASK_PAGE), values(values), lastMaskDir(lastMaskDir) {}

protected:
    void OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<FieldError> ReadBack() override;

private:
    void ApplyEnabling(const std::optional<FieldError>& refused);
    void Browse();

    MaskPageValues& values;
    std::string& lastMaskDir;
};
