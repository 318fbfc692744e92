// The global keys on the main window: registered with RegisterHotKey while Velumar runs, and
// the check whether another program holds a key.
#pragma once

#include <windows.h>

#include <cstdint>
#include <iterator>

#include "app/app_settings.h"
#include "ui/global_keys.h"

class CGlobalKeys {
public:
    CGlobalKeys() = default;
    CGlobalKeys(const CGlobalKeys&) = delete;
    CGlobalKeys& operator=(const CGlobalKeys&) = delete;
    ~CGlobalKeys() { Unregister(); }

    // Registers the chosen keys on the window in place of those it held. A key another
    // program holds stays unregistered; the others work all the same.
    void Register(HWND window, const AppSettings& settings);
    void Unregister();

    // Whether another program holds the key: it is not one Velumar holds, and registering it
    // on the probe window fails because it is taken.
    bool HeldElsewhere(HWND probe, std::uint32_t value) const;

private:
    HWND window = nullptr;
    // The values registered, by key (GlobalKey - 1); 0 where none is.
    std::uint32_t held[std::size(kGlobalKeys)] = {};
};
