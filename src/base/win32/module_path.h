// The full path of the running program's file, as UTF-8.
#pragma once

#include <string>

// Empty when Windows cannot tell it.
std::string ModuleFilePath();
