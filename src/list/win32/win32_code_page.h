// The system's ANSI code page through MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include "list/code_page.h"

// The code page GetACP() names; one object serves the whole process.
const AnsiCodePage& SystemAnsiCodePage();
