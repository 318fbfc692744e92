// Choosing where Velumar keeps what outlives a run.
#include "app/storage_places.h"

StoragePlaces ChooseStoragePlaces(std::string_view programFolder, bool settingsFileExists,
                                  bool folderWritable, std::string_view localAppData) {
    StoragePlaces places;
    const std::string profileFolder =
        localAppData.empty() ? std::string() : std::string(localAppData) + "\\Quorwick\\Velumar";
    places.dataFolder = places.outputFolder = profileFolder;
    if (settingsFileExists) {
        const std::string folder(programFolder);
        places.portable = true;
        places.readOnly = !folderWritable;
        places.settingsFile = folder + "\\" + std::string(kPortableSettingsFile);
        places.dataFolder = folder + "\\" + std::string(kPortableDataFolder);
        // The bitmap must still reach the desktop when the copy's own folder cannot take it.
        if (folderWritable) {
            places.outputFolder = places.dataFolder;
        }
    }
    return places;
}

std::string ReadOnlyNotice(std::string_view programFolder) {
    return "Velumar cannot write to " + std::string(programFolder) +
           ". It runs with the settings, list and history it found there, and saves no changes.";
}
