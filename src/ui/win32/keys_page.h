// The Keys page of the properties sheet: the global keys, each with a line that says when
// another program holds it or another command has it too.
#pragma once

#include "resource.h"
#include "ui/properties_rules.h"
#include "ui/win32/global_keys.h"
#include "ui/win32/property_page.h"

class CKeysPage : public CPropertyPage {
public:
    CKeysPage(HINSTANCE instance, const CGlobalKeys& keys, KeysPageValues& values)
        : CPropertyPage(instance, IDD_KEYS_PAGE), keys(keys), values(values) {}

protected:
    void OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<FieldError> ReadBack() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::uint32_t KeyOf(int control) const;
    KeysPageValues Chosen() const;
    // The line under each box: the same key chosen for another command, or held elsewhere.
    void ShowReports() const;

    const CGlobalKeys& keys;
    KeysPageValues& values;
};
