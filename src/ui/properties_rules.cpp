// What the property sheet's pages hold, decide and check, apart from their windows: the values
// copied in from the settings and back on OK, each page's enabling rule and its field checks.
#include "ui/properties_rules.h"

#include <cstdio>
#include <iterator>

#include "switching/schedule.h"
#include "ui/win32/res/resource.h"

namespace {

constexpr unsigned kMaxEdgePercent = 99;
constexpr unsigned kMaxMinSizePercent = 100;

// The Keys page's boxes in its order, with the names it gives their commands.
struct KeyField {
    GlobalKey key;
    int control;
    std::uint32_t KeysPageValues::*value;
    const char* name;
};

constexpr KeyField kKeyFields[] = {
    {GlobalKey::Next, IDC_NEXT_KEY, &KeysPageValues::next, "Next wallpaper"},
    {GlobalKey::Previous, IDC_PREVIOUS_KEY, &KeysPageValues::previous, "Previous wallpaper"},
    {GlobalKey::Pause, IDC_PAUSE_KEY, &KeysPageValues::pause, "Pause or resume switching"},
    {GlobalKey::Hide, IDC_HIDE_KEY, &KeysPageValues::hide, "Never show this picture"},
    {GlobalKey::Favourite, IDC_FAVOURITE_KEY, &KeysPageValues::favourite, "Favourite"},
};

// Two values are the same key when RegisterHotKey would see the same chord.
bool SameKey(std::uint32_t a, std::uint32_t b) {
    const std::optional<HotkeyChord> chord = ChordFromHotkeyValue(a);
    return chord && chord == ChordFromHotkeyValue(b);
}

const KeyField& FieldOf(GlobalKey key) {
    return kKeyFields[static_cast<int>(key) - 1];
}

}  // namespace

GeneralEnabling ComputeGeneralEnabling(int switchMode, int selectedTimes, bool controlIconText,
                                       int osVersion) {
    GeneralEnabling e;
    e.interval = switchMode == 1;
    e.timeList = switchMode == 2;
    e.removeTime = switchMode == 2 && selectedTimes > 0;
    e.iconTextAll = osVersion <= kLastOsWithIconText;
    e.iconTextShown = e.iconTextAll && controlIconText;
    return e;
}

IntervalCheck CheckInterval(int switchMode, const std::string& text) {
    if (switchMode != 1 || text.empty()) {
        return {};
    }
    Duration d = ParseDuration(text);
    if (!d.valid) {
        return {IntervalCheck::Outcome::Refuse, {}};
    }
    char formatted[16];
    std::snprintf(formatted, sizeof(formatted), "%02d:%02d:%02d", d.hours, d.minutes, d.seconds);
    return {IntervalCheck::Outcome::Replace, formatted};
}

std::optional<FieldError> ReadMinSizeField(std::string_view text, int& percent) {
    unsigned value = 0;
    if (std::optional<FieldError> error =
            ReadRangedField(IDC_MIN_SIZE, text, 0, kMaxMinSizePercent, value)) {
        return error;
    }
    percent = static_cast<int>(value);
    return std::nullopt;
}

std::string LockScreenFailureNote(const std::string& failure) {
    return failure.empty() ? std::string() : "The lock screen could not be set: " + failure;
}

LockScreenLine ComputeLockScreenLine(bool available, const std::string& note) {
    if (!available) {
        return {false, kLockScreenUnavailableNote};
    }
    return {true, note};
}

ResizingEnabling ComputeResizingEnabling(int resizeChoice,
                                         const std::optional<FieldError>& refused) {
    const bool sizeRefused = refused && (refused->controlId == IDC_CUSTOM_WIDTH ||
                                         refused->controlId == IDC_CUSTOM_HEIGHT);
    return {resizeChoice == 2, resizeChoice == 3 || sizeRefused,
            resizeChoice != 4 && resizeChoice != 5};
}

std::optional<FieldError> ReadResizingPage(const ResizingPageControls& controls,
                                           ResizingPageValues& values) {
    values.retainAspect = controls.retainAspect;
    if (std::optional<FieldError> error =
            ReadNumberField(IDC_CUSTOM_WIDTH, controls.width, values.width)) {
        return error;
    }
    values.resizeChoice = controls.resizeChoice;
    if (std::optional<FieldError> error =
            ReadNumberField(IDC_CUSTOM_HEIGHT, controls.height, values.height)) {
        return error;
    }
    values.reductionChoice = controls.reductionChoice;
    values.sizeChoice = controls.sizeChoice;
    values.pictureColor = controls.pictureColor;
    return std::nullopt;
}

MaskEnabling ComputeMaskEnabling(int maskType, const std::optional<FieldError>& refused) {
    const bool edgeRefused =
        refused && (refused->controlId == IDC_MASK_BOTTOM || refused->controlId == IDC_MASK_LEFT ||
                    refused->controlId == IDC_MASK_RIGHT || refused->controlId == IDC_MASK_TOP);
    return {maskType == 0 || edgeRefused, maskType == 1, maskType != 2};
}

std::optional<FieldError> ReadMaskPage(const MaskPageControls& controls, MaskPageValues& values) {
    values.maskChoice = controls.maskChoice;
    const struct {
        int id;
        const std::string& text;
        unsigned& value;
    } edges[] = {
        {IDC_MASK_BOTTOM, controls.bottom, values.bottom},
        {IDC_MASK_LEFT, controls.left, values.left},
        {IDC_MASK_RIGHT, controls.right, values.right},
        {IDC_MASK_TOP, controls.top, values.top},
    };
    for (const auto& edge : edges) {
        if (std::optional<FieldError> error =
                ReadRangedField(edge.id, edge.text, 0, kMaxEdgePercent, edge.value)) {
            return error;
        }
    }
    values.maskFile = controls.maskFile;
    values.outline = controls.outline;
    return std::nullopt;
}

std::string SameKeyLine(const KeysPageValues& values, GlobalKey key) {
    const std::uint32_t value = values.*FieldOf(key).value;
    for (const KeyField& other : kKeyFields) {
        if (other.key != key && SameKey(value, values.*other.value)) {
            return std::string("Also chosen for \"") + other.name + "\".";
        }
    }
    return {};
}

std::optional<FieldError> CheckKeysPage(const KeysPageValues& values) {
    for (const KeyField* later = std::begin(kKeyFields); later != std::end(kKeyFields); ++later) {
        for (const KeyField* earlier = std::begin(kKeyFields); earlier != later; ++earlier) {
            if (SameKey(values.*later->value, values.*earlier->value)) {
                return FieldError{later->control,
                                  std::string("This key is already chosen for \"") + earlier->name +
                                      "\". Please choose another one.",
                                  true};
            }
        }
    }
    return std::nullopt;
}

PropertiesValues CopyIntoPages(const AppSettings& s) {
    const RenderSettings& render = s.render;
    PropertiesValues v;
    v.resizing = {render.retainAspectRatio ? 1 : 0,
                  static_cast<unsigned>(render.customWidth),
                  render.resizeMode,
                  static_cast<unsigned>(render.customHeight),
                  render.reductionMethod,
                  render.standardSizeIndex,
                  render.pictureColor ? 1 : 0};
    GeneralPageValues& g = v.general;
    g.switchMode = s.switchMode;
    // Subfolders are included only when the stored value is exactly 1.
    g.includeSubfolders = s.includeSubfolders == 1 ? 1 : 0;
    g.enforceUniqueness = s.enforceUniqueness ? 1 : 0;
    g.randomize = s.randomOrder ? 1 : 0;
    g.holdWhenFullscreen = s.holdWhenFullscreen ? 1 : 0;
    g.holdOnBattery = s.holdOnBattery ? 1 : 0;
    g.noRepeats = s.noRepeats ? 1 : 0;
    g.uprightPhotos = render.uprightPhotos ? 1 : 0;
    g.tile = render.tileWallpaper ? 1 : 0;
    g.interval = s.switchPeriod;
    g.startSwitchingAtStartup = s.startSwitchingAtStartup ? 1 : 0;
    g.hideAtStartup = s.hideAtStartup ? 1 : 0;
    g.textColor = s.iconTextColor;
    g.transparent = s.iconTextTransparent ? 1 : 0;
    g.controlIconText = s.controlIconText ? 1 : 0;
    g.times = s.switchTimes;
    g.lockScreen = s.lockScreen ? 1 : 0;
    g.favourites = s.favourites;
    g.minSizePercent = s.minSizePercent;
    g.shapeFilter = s.shapeFilter;
    v.mask = {render.maskMode,
              static_cast<unsigned>(render.maskBottom),
              static_cast<unsigned>(render.maskLeft),
              static_cast<unsigned>(render.maskRight),
              static_cast<unsigned>(render.maskTop),
              render.maskFile,
              render.maskImageOutline ? 1 : 0};
    v.keys = {s.nextKey, s.previousKey, s.pauseKey, s.hideKey, s.favouriteKey};
    v.monitors = {render.monitorMode, s.matchOrientation ? 1 : 0};
    return v;
}

void CopyBackFromPages(const PropertiesValues& v, AppSettings& s) {
    RenderSettings& render = s.render;
    const ResizingPageValues& r = v.resizing;
    render.retainAspectRatio = r.retainAspect != 0;
    render.customWidth = static_cast<int>(r.width);
    render.resizeMode = r.resizeChoice;
    render.customHeight = static_cast<int>(r.height);
    render.reductionMethod = r.reductionChoice;
    render.standardSizeIndex = r.sizeChoice;
    render.pictureColor = r.pictureColor != 0;

    const GeneralPageValues& g = v.general;
    s.switchMode = g.switchMode;
    s.includeSubfolders = g.includeSubfolders;
    s.enforceUniqueness = g.enforceUniqueness != 0;
    s.randomOrder = g.randomize != 0;
    s.holdWhenFullscreen = g.holdWhenFullscreen != 0;
    s.holdOnBattery = g.holdOnBattery != 0;
    s.noRepeats = g.noRepeats != 0;
    render.uprightPhotos = g.uprightPhotos != 0;
    render.tileWallpaper = g.tile != 0;
    s.switchPeriod = g.interval;
    s.startSwitchingAtStartup = g.startSwitchingAtStartup != 0;
    s.hideAtStartup = g.hideAtStartup != 0;
    s.iconTextColor = g.textColor;
    s.iconTextTransparent = g.transparent != 0;
    s.controlIconText = g.controlIconText != 0;
    s.switchTimes = g.times;
    s.lockScreen = g.lockScreen != 0;
    s.favourites = g.favourites;
    s.minSizePercent = g.minSizePercent;
    s.shapeFilter = g.shapeFilter;

    const MaskPageValues& m = v.mask;
    render.maskMode = m.maskChoice;
    render.maskImageOutline = m.outline != 0;
    if (m.maskChoice == 0) {
        render.maskBottom = static_cast<int>(m.bottom);
        render.maskLeft = static_cast<int>(m.left);
        render.maskRight = static_cast<int>(m.right);
        render.maskTop = static_cast<int>(m.top);
    } else if (m.maskChoice == 1) {
        render.maskFile = m.maskFile;
    }

    s.nextKey = v.keys.next;
    s.previousKey = v.keys.previous;
    s.pauseKey = v.keys.pause;
    s.hideKey = v.keys.hide;
    s.favouriteKey = v.keys.favourite;

    render.monitorMode = v.monitors.monitorMode;
    s.matchOrientation = v.monitors.matchOrientation != 0;
}

bool MatchOrientationEnabled(int monitorMode) {
    return monitorMode == 2;
}

bool WarnNoSwitchTimes(const AppSettings& settings) {
    return settings.switchMode == 2 && settings.switchTimes.empty();
}
