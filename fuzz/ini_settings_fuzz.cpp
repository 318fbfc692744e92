// Fuzzes reading the settings from a portable copy's INI file of any bytes, and writing them back:
// what was written once reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/app_settings.h"
#include "app/ini_settings_store.h"

namespace {

AppSettings Loaded(std::string_view text) {
    return LoadSettings(IniSettingsStore(text, "E:\\Velumar", nullptr),
                        [] { return std::string("E:\\Velumar\\Velumar-data"); });
}

std::string Saved(const AppSettings& settings, std::string_view text) {
    std::string saved;
    IniSettingsStore store(text, "E:\\Velumar", [&](std::string_view t) {
        saved = t;
        return true;
    });
    SaveSettings(settings, 500, store);
    return saved.empty() ? std::string(text) : saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string once = Saved(Loaded(text), text);
    const AppSettings settings = Loaded(once);
    if (!(Loaded(Saved(settings, once)) == settings)) {
        __builtin_trap();
    }
    return 0;
}
