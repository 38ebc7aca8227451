// Resource numbers of zirvo.scr, shared by its resource script and its code.
#pragma once

// Windows lists a screensaver by the text of string 1.
#define IDS_DESCRIPTION 1

#define IDD_SETTINGS 100
#define IDC_SCENE 101
#define IDC_BROWSE 102
#define IDC_SPEED 103
#define IDC_WHERE 104
