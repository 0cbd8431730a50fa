// Identifiers of the program's resources, shared by the resource script and the code.
#pragma once

// The main window. Its command buttons send their own ids.
#define IDD_CORVANE 102
#define IDC_SETTINGS 3
#define IDC_CLEAR 4
#define IDC_TEST 5
#define IDC_SAVE_STATE 6
#define IDC_RESTORE 7
#define IDC_HELP_BUTTON 9
#define IDC_CLOSE_BUTTON 10
#define IDC_LOG 1000
#define IDC_PROGRESS 1009
#define IDC_BACKGROUND 1039

// The About dialog, its link and the system menu's entry for it.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDM_ABOUTBOX 0x0010
#define IDC_LINK 1020

#define IDR_MAINFRAME 128

// The settings dialog: the categories' check boxes (1001 to 1010) with their help
// buttons (1029 to 1038), Select all, and the browser policy's radio buttons.
#define IDD_SETTINGS 129
#define IDC_SELECT_ALL 3
#define IDC_HELP_FIRST 1029
#define IDC_HELP_LAST 1038
#define IDC_BROWSER_GROUP 1024
#define IDC_KEEP_COOKIES 1040

// The keep dialog of cookies: the hosts' list, the field and button to add one, and its
// help button.
#define IDD_KEEP_COOKIES 130
#define IDC_KEEP_LIST 1041
#define IDC_KEEP_HOST 1042
#define IDC_KEEP_ADD 1043
#define IDC_KEEP_HELP 1044

// Dialog asking about open Internet Explorer windows.
#define IDD_BROWSER_OPEN 151
#define IDC_DONT_SHOW_AGAIN 1028

// Skin bitmaps: the help buttons, the progress bar, the window's face and the command
// buttons, each with its normal, pressed and hover looks.
#define IDB_HELP_NORMAL 227
#define IDB_HELP_PRESSED 228
#define IDB_HELP_HOVER 229
#define IDB_PROGRESS_BACK 230
#define IDB_PROGRESS_BAR 231
#define IDB_SKIN 232
#define IDB_CLEAR 233
#define IDB_TEST 236
#define IDB_SAVE_STATE 239
#define IDB_RESTORE 242
#define IDB_SETTINGS 245
#define IDB_HELP_BUTTON 248
#define IDB_CLOSE_BUTTON 251
