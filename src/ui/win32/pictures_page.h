// The Pictures page of the properties sheet: the pictures the rotation leaves out by rule. Its
// values travel with the General page's.
#pragma once

#include "resource.h"
#include "ui/properties_rules.h"
#include "ui/win32/property_page.h"

class CPicturesPage : public CPropertyPage {
public:
    CPicturesPage(HINSTANCE instance, GeneralPageValues& values)
        : CPropertyPage(instance, IDD_PICTURES_PAGE), values(values) {}

protected:
    void OnInit() override;
    std::optional<FieldError> ReadBack() override;

private:
    GeneralPageValues& values;
};
