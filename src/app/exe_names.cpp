// Names derived from the running executable's path.
#include "app/exe_names.h"

std::string AppNameFromModulePath(std::string_view modulePath, mbcs::LeadBytePredicate isLeadByte) {
    size_t slash = mbcs::FindLast(modulePath, '\\', isLeadByte);
    std::string_view name =
        slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
    size_t dot = mbcs::FindLast(name, '.', isLeadByte);
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

std::string ProgramFolder(std::string_view modulePath, mbcs::LeadBytePredicate isLeadByte) {
    size_t slash = mbcs::FindLast(modulePath, '\\', isLeadByte);
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : modulePath.substr(0, slash));
}

std::string ExePathFromModulePath(std::string_view modulePath, mbcs::LeadBytePredicate isLeadByte) {
    return ProgramFolder(modulePath, isLeadByte) + "\\Velumar.exe";
}
