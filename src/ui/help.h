// The help file "corvane.hlp" beside the program: its contents, one topic as a pop-up,
// or a note that it is not installed.
#pragma once

#include <windows.h>

#include <string>

// The call into the help engine (WinHelpA); tests put a recorder in its place.
using HelpEngine = BOOL(WINAPI*)(HWND window, const char* path, UINT command, ULONG_PTR data);
extern HelpEngine helpEngine;

// The help file's path; empty when no file lies there.
std::string FindHelpFile();

// Opens the help file at its contents over window, or says that it is not installed.
void ShowHelpContents(HWND window);

// Pops up one topic of the help file over window, or says that it is not installed.
void ShowHelpTopic(HWND window, int topic);
