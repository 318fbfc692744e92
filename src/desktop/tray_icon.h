// The notification-area icon: its record values and what each mouse message over it does.
#pragma once

#include <cstddef>
#include <string_view>

inline constexpr unsigned kTrayIconId = 1000;
// The first application message number plus one.
inline constexpr unsigned kTrayCallbackMessage = 0x8001;
inline constexpr const char* kTrayTip = "Velumar - Double to activate, Right click for menu";
inline constexpr int kTrayMenuId = 139;

enum class TrayAction { None, ShowWindow, ShowMenu };

struct TrayDecision {
    // Every mouse message over the icon ends a hide at start-up.
    bool clearHidePending = true;
    TrayAction action = TrayAction::None;
};

// The decision for a mouse message (a WM_ number) reported by the icon.
TrayDecision DecideTrayMouse(unsigned mouseMessage);

// The longest start of a UTF-8 text that fits a tip of maxUnits UTF-16 code units, cut between
// whole characters. A byte that begins no valid character counts as one unit, as the one
// replacement character it becomes.
std::string_view CutTipText(std::string_view utf8, std::size_t maxUnits);

// The flags of a window-position change once the hide at start-up has had its say: while it
// is pending, the change may move and size the window but never show it.
unsigned FilterPositionChange(unsigned swpFlags, bool hidePending);
