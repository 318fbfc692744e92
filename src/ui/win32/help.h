// Velumar's help: the help file beside the program, opened at its contents, the pop-up text
// of one control, and closing the viewer when the program ends.
#pragma once

#include <windows.h>

#include <string>

// The program's own path with the extension of the help file.
std::string HelpFilePath();

// Opens the help file at its contents; a message box names the file when it is missing.
void ShowHelpContents(HWND owner);

// Closes every help window the program opened.
void CloseHelp();

// The one handler of help requests on a control, for the main window, the property pages and
// the open dialog: true when the request was answered; false leaves it to the caller's
// standard handling.
bool ShowContextHelp(const HELPINFO& request);

// Shows a text in a small pop-up window at a screen point; a click or a key closes it.
void ShowHelpPopup(HINSTANCE instance, const std::string& text, POINT at);
