// The settings table: every stored value, its type, default, limit and field.
#include "app/settings_table.h"

#include <type_traits>
#include <utility>

namespace {

constexpr int kMaxMaskMode = 2;
constexpr int kMaxMaskPercent = 50;
constexpr int kMaxMonitorMode = 3;
// Ten times the logical DPI, beyond any display's scaling.
constexpr int kMaxWindowDpi = 960;

// The field a path of members leads to (a left fold over .*): one member of AppSettings, or a
// part of it such as &AppSettings::render followed by a member of that part.
template <auto... path>
constexpr auto& Field(auto& settings) {
    return (settings.*....*path);
}

constexpr Setting Declare(std::string_view name, SettingType type) {
    Setting setting;
    setting.name = name;
    setting.type = type;
    return setting;
}

template <auto... path>
constexpr Setting Int(std::string_view name, int defaultValue,
                      std::optional<int> limit = std::nullopt) {
    using Number = std::remove_cvref_t<decltype(Field<path...>(std::declval<AppSettings&>()))>;
    Setting setting = Declare(name, SettingType::Int);
    setting.defaultNumber = defaultValue;
    setting.limit = limit;
    setting.number = [](const AppSettings& s) { return static_cast<int>(Field<path...>(s)); };
    setting.setNumber = [](AppSettings& s, int value) {
        Field<path...>(s) = static_cast<Number>(value);
    };
    return setting;
}

template <auto... path>
constexpr Setting Bool(std::string_view name, bool defaultValue) {
    Setting setting = Declare(name, SettingType::Bool);
    setting.defaultNumber = defaultValue ? 1 : 0;
    setting.number = [](const AppSettings& s) { return Field<path...>(s) ? 1 : 0; };
    setting.setNumber = [](AppSettings& s, int value) { Field<path...>(s) = value != 0; };
    return setting;
}

template <auto... path>
constexpr Setting Text(std::string_view name, std::string_view defaultValue,
                       TextDefault rule = TextDefault::Declared) {
    Setting setting = Declare(name, SettingType::Text);
    setting.defaultText = defaultValue;
    setting.textDefault = rule;
    setting.text = [](const AppSettings& s) { return std::string(Field<path...>(s)); };
    setting.setText = [](AppSettings& s, std::string_view value) { Field<path...>(s) = value; };
    return setting;
}

template <auto... path>
constexpr Setting List(std::string_view name) {
    Setting setting = Declare(name, SettingType::List);
    setting.text = [](const AppSettings& s) { return JoinTimeList(Field<path...>(s)); };
    setting.setText = [](AppSettings& s, std::string_view value) {
        Field<path...>(s) = SplitTimeList(value);
    };
    return setting;
}

constexpr Setting UpToWindows2000(Setting setting) {
    setting.writtenUpToOs = kLastOsWithIconText;
    return setting;
}

constexpr Setting NegativeIsNotKnown(Setting setting) {
    setting.negativeReadsAsDefault = true;
    return setting;
}

constexpr auto kRender = &AppSettings::render;
constexpr auto kWindow = &AppSettings::windowRect;
using R = RenderSettings;
using A = AppSettings;

constexpr Setting kSettings[] = {
    Int<&A::switchMode>("WH", 0),
    Text<&A::switchPeriod>("PE", "5:00"),
    List<&A::switchTimes>("TM"),
    Bool<&A::startSwitchingAtStartup>("SA", true),
    Bool<&A::hideAtStartup>("HI", false),
    Bool<&A::randomOrder>("RA", false),
    Int<&A::nextIndex>(kNextIndexValue, 0),
    // A number, not a Bool: subfolders are included only when it is exactly 1.
    Int<&A::includeSubfolders>("RE", 1),
    Bool<&A::enforceUniqueness>("EU", false),
    Bool<kRender, &R::tileWallpaper>("TI", false),
    Bool<&A::showWelcome>("SW", true),

    UpToWindows2000(Bool<&A::controlIconText>("CI", false)),
    UpToWindows2000(Int<&A::iconTextColor>("IC", 0x00FFFFFF)),
    UpToWindows2000(Bool<&A::iconTextTransparent>("IT", false)),

    Int<kRender, &R::resizeMode>("RT", 0),
    Int<kRender, &R::standardSizeIndex>("SS", 1),
    Int<kRender, &R::customWidth>("WI", 800),
    Int<kRender, &R::customHeight>("HE", 600),
    Bool<kRender, &R::retainAspectRatio>("RR", true),
    Int<kRender, &R::reductionMethod>("RM", 0),

    Int<kRender, &R::maskMode>("ME", 2, kMaxMaskMode),
    Int<kRender, &R::maskLeft>("MRL", 0, kMaxMaskPercent),
    Int<kRender, &R::maskTop>("MRT", 0, kMaxMaskPercent),
    Int<kRender, &R::maskRight>("MRR", 0, kMaxMaskPercent),
    Int<kRender, &R::maskBottom>("MRB", 0, kMaxMaskPercent),
    Text<kRender, &R::maskFile>("MF", ""),
    Bool<kRender, &R::maskImageOutline>("MI", false),
    Int<kRender, &R::monitorMode>("MM", 0, kMaxMonitorMode),

    Text<&A::listFile>("CF", "", TextDefault::ListFileInListDir),
    Text<&A::lastListDir>("LD", "", TextDefault::DocumentsFolderWhenEmpty),
    Text<&A::lastAddFilesDir>("PD", ""),
    Text<&A::lastAddFolderDir>("FD", "", TextDefault::AddFilesDir),
    Text<&A::lastMaskDir>("MD", "", TextDefault::AddFilesDir),

    Bool<&A::openDialogPreview>("OP", true),
    Bool<&A::mainPreview>("PRV", true),
    Int<kWindow, &WindowRect::left>("PL", 0),
    Int<kWindow, &WindowRect::top>("PT", 0),
    Int<kWindow, &WindowRect::right>("PR", 620),
    Int<kWindow, &WindowRect::bottom>("PB", 450),
    NegativeIsNotKnown(Int<&A::windowDpi>("PDI", 0, kMaxWindowDpi)),

    Bool<&A::holdWhenFullscreen>("FS", true),
    Bool<&A::holdOnBattery>("BA", false),
    // Bits a hotkey control does not use are ignored when the key is registered.
    Int<&A::nextKey>("HN", 0),
    Int<&A::previousKey>("HP", 0),
    Int<&A::pauseKey>("HS", 0),
    Bool<&A::noRepeats>("NR", false),
    Bool<&A::matchOrientation>("MO", true),
};

}  // namespace

std::span<const Setting> SettingsTable() {
    return kSettings;
}
