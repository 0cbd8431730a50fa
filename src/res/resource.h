// Identifiers of the program's resources, shared by the resource script and the code.
#pragma once

// Dialog asking about open Internet Explorer windows.
#define IDD_BROWSER_OPEN 151
#define IDC_DONT_SHOW_AGAIN 1028
