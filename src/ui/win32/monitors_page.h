// The Monitors page of the properties sheet: what the wallpaper does with several monitors.
#pragma once

#include "resource.h"
#include "ui/properties_rules.h"
#include "ui/win32/property_page.h"

class CMonitorsPage : public CPropertyPage {
public:
    CMonitorsPage(HINSTANCE instance, MonitorsPageValues& values)
        : CPropertyPage(instance, IDD_MONITORS_PAGE), values(values) {}

protected:
    void OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<FieldError> ReadBack() override;

private:
    void UpdateEnabling();

    MonitorsPageValues& values;
};
