// Fuzzes loading the settings from a store of arbitrary values and types, as odd registry
// values would be, and storing them again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/app_settings.h"
#include "app/memory_settings_store.h"
#include "app/settings_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySettingsStore store;
    std::size_t at = 0;
    for (const Setting& setting : SettingsTable()) {
        const std::string_view name = setting.name;
        if (at >= size) {
            break;
        }
        const std::uint8_t kind = data[at++] % 4;
        if (kind == 1 && at + 4 <= size) {
            std::int32_t value =
                static_cast<std::int32_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
                                          static_cast<std::uint32_t>(data[at + 3]) << 24);
            store.WriteInt(kSettingsSection, name, value);
            at += 4;
        } else if (kind == 2 && at < size) {
            const std::size_t wanted = data[at++];
            const std::size_t length = std::min(wanted, size - at);
            store.WriteText(kSettingsSection, name,
                            std::string(reinterpret_cast<const char*>(data + at), length));
            at += length;
        } else if (kind == 3) {
            store.WriteOther(kSettingsSection, name);
        }
    }
    AppSettings settings = LoadSettings(store, [] { return std::string("C:\\Documents"); });
    MemorySettingsStore stored;
    SaveSettings(settings, 500, stored);
    // What was stored loads to the same settings.
    if (!(LoadSettings(stored, [] { return std::string("C:\\Documents"); }) == settings)) {
        __builtin_trap();
    }
    return 0;
}
