// The General page of the properties sheet: when the wallpaper changes, the interval, the
// time list, the switching options, the lock screen, favourites and the pictures left out, and the
// desktop icon text options.
#pragma once

#include "ui/properties_rules.h"
#include "ui/win32/property_page.h"
#include "resource.h"

class CGeneralPage : public CPropertyPage {
public:
    CGeneralPage(HINSTANCE instance, int osVersion, GeneralPageValues& values)
        : CPropertyPage(instance, IDD_GENERAL_PAGE), osVersion(osVersion), values(values) {}

protected:
    void OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<FieldError> ReadBack() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ReadControls();
    void UpdateEnabling();
    void ValidateInterval();
    void AddTime();
    void RemoveTimes();
    void RebuildTimes();
    void ChooseTextColor();
    void ShowHiddenPictures();
    void DrawTextColorButton(const DRAWITEMSTRUCT& item) const;

    int osVersion;
    GeneralPageValues& values;
};
