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
constexpr int kMaxFavourites = 2;
constexpr int kMaxSizePercent = 100;
constexpr int kMaxShapeFilter = 2;

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
constexpr Setting Int(std::string_view name, std::optional<int> limit = std::nullopt) {
    using Number = std::remove_cvref_t<decltype(Field<path...>(std::declval<AppSettings&>()))>;
    Setting setting = Declare(name, SettingType::Int);
    setting.limit = limit;
    setting.number = [](const AppSettings& s) { return static_cast<int>(Field<path...>(s)); };
    setting.setNumber = [](AppSettings& s, int value) {
        Field<path...>(s) = static_cast<Number>(value);
    };
    return setting;
}

template <auto... path>
constexpr Setting Bool(std::string_view name) {
    Setting setting = Declare(name, SettingType::Bool);
    setting.number = [](const AppSettings& s) { return Field<path...>(s) ? 1 : 0; };
    setting.setNumber = [](AppSettings& s, int value) { Field<path...>(s) = value != 0; };
    return setting;
}

template <auto... path>
constexpr Setting Text(std::string_view name, TextDefault rule = TextDefault::Declared) {
    Setting setting = Declare(name, SettingType::Text);
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
    Int<&A::switchMode>("WH"),
    Text<&A::switchPeriod>("PE"),
    List<&A::switchTimes>("TM"),
    Bool<&A::startSwitchingAtStartup>("SA"),
    Bool<&A::hideAtStartup>("HI"),
    Bool<&A::randomOrder>("RA"),
    Int<&A::nextIndex>(kNextIndexValue),
    // A number, not a Bool: subfolders are included only when it is exactly 1.
    Int<&A::includeSubfolders>("RE"),
    Bool<&A::enforceUniqueness>("EU"),
    Bool<kRender, &R::tileWallpaper>("TI"),
    Bool<&A::showWelcome>("SW"),

    UpToWindows2000(Bool<&A::controlIconText>("CI")),
    UpToWindows2000(Int<&A::iconTextColor>("IC")),
    UpToWindows2000(Bool<&A::iconTextTransparent>("IT")),

    Int<kRender, &R::resizeMode>("RT"),
    Int<kRender, &R::standardSizeIndex>("SS"),
    Int<kRender, &R::customWidth>("WI"),
    Int<kRender, &R::customHeight>("HE"),
    Bool<kRender, &R::retainAspectRatio>("RR"),
    Int<kRender, &R::reductionMethod>("RM"),

    Int<kRender, &R::maskMode>("ME", kMaxMaskMode),
    Int<kRender, &R::maskLeft>("MRL", kMaxMaskPercent),
    Int<kRender, &R::maskTop>("MRT", kMaxMaskPercent),
    Int<kRender, &R::maskRight>("MRR", kMaxMaskPercent),
    Int<kRender, &R::maskBottom>("MRB", kMaxMaskPercent),
    Text<kRender, &R::maskFile>("MF"),
    Bool<kRender, &R::maskImageOutline>("MI"),
    Int<kRender, &R::monitorMode>("MM", kMaxMonitorMode),

    Text<&A::listFile>("CF", TextDefault::ListFileInListDir),
    Text<&A::lastListDir>("LD", TextDefault::DocumentsFolderWhenEmpty),
    Text<&A::lastAddFilesDir>("PD"),
    Text<&A::lastAddFolderDir>("FD", TextDefault::AddFilesDir),
    Text<&A::lastMaskDir>("MD", TextDefault::AddFilesDir),

    Bool<&A::openDialogPreview>("OP"),
    Bool<&A::mainPreview>("PRV"),
    Int<kWindow, &WindowRect::left>("PL"),
    Int<kWindow, &WindowRect::top>("PT"),
    Int<kWindow, &WindowRect::right>("PR"),
    Int<kWindow, &WindowRect::bottom>("PB"),
    NegativeIsNotKnown(Int<&A::windowDpi>("PDI", kMaxWindowDpi)),

    Bool<&A::holdWhenFullscreen>("FS"),
    Bool<&A::holdOnBattery>("BA"),
    // Bits a hotkey control does not use are ignored when the key is registered.
    Int<&A::nextKey>("HN"),
    Int<&A::previousKey>("HP"),
    Int<&A::pauseKey>("HS"),
    Bool<&A::noRepeats>("NR"),
    Bool<&A::matchOrientation>("MO"),
    Bool<&A::lockScreen>("LS"),
    Bool<kRender, &R::uprightPhotos>("EO"),
    Bool<kRender, &R::pictureColor>("AC"),
    Int<&A::hideKey>("HX"),
    Int<&A::favouriteKey>("HF"),
    // A negative choice is not known: it reads as the default, which leaves every picture in.
    NegativeIsNotKnown(Int<&A::favourites>("FV", kMaxFavourites)),
    NegativeIsNotKnown(Int<&A::minSizePercent>("MZ", kMaxSizePercent)),
    NegativeIsNotKnown(Int<&A::shapeFilter>("SH", kMaxShapeFilter)),
};

}  // namespace

std::span<const Setting> SettingsTable() {
    return kSettings;
}
