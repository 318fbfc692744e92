// Where Velumar keeps what outlives a run: the registry and the user's local application data,
// or, for a copy carried on a stick, an INI file and a data folder beside the program.
#pragma once

#include <string>
#include <string_view>

// A copy with this file beside its program is portable.
inline constexpr std::string_view kPortableSettingsFile = "Velumar.ini";
inline constexpr std::string_view kPortableDataFolder = "Velumar-data";

struct StoragePlaces {
    // The settings are in settingsFile instead of the registry.
    bool portable = false;
    // A portable copy whose folder cannot be written (a write-protected stick, a disc): it runs
    // with what it read and saves nothing.
    bool readOnly = false;
    std::string settingsFile;
    // Velumar's own files (history, deck, marked pictures); for a portable copy also the
    // default list's folder. Empty when unknown.
    std::string dataFolder;
    // Where the bitmaps handed to Windows go when the Windows directory cannot be written.
    std::string outputFolder;
};

// programFolder is the running program's folder; localAppData the user's local application data
// folder (empty when unknown). Both without a trailing backslash.
StoragePlaces ChooseStoragePlaces(std::string_view programFolder, bool settingsFileExists,
                                  bool folderWritable, std::string_view localAppData);

// What a portable copy that cannot save says once at start-up.
std::string ReadOnlyNotice(std::string_view programFolder);
