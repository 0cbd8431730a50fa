// The help file "corvane.hlp" beside the program: its contents, or a note that it is
// not installed.
#pragma once

#include <windows.h>

#include <string>

// The help file's path; empty when no file lies there.
std::string FindHelpFile();

// Opens the help file at its contents over window, or says that it is not installed.
void ShowHelpContents(HWND window);
