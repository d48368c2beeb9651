// Resource and command numbers shared by vantorel.rc and the program.
// Only plain #define lines live here, so windres and the C++ compiler read
// the same values. Deliberate: the numbers never change, since other programs
// and the tests drive the program by them (docs/behaviour.md).
#ifndef VANTOREL_RESOURCE_H
#define VANTOREL_RESOURCE_H

// Texts shown in the About dialog and on the startup screen, and used by the
// version resource. The web page is also what the About dialog opens.
#define VANTOREL_WEB_PAGE "https://vantorel.example.org"
#define VANTOREL_MAKER "Copyright (C) 2026 The Vantorel developers"
#define VANTOREL_COMPANY "The Vantorel developers"
#define VANTOREL_VERSION_LINE "Vantorel version 1.1"

// Program icon (one 32 x 32 image in 16 colours).
#define IDI_VANTOREL 1

// Manifest (CREATEPROCESS_MANIFEST_RESOURCE_ID, of type RT_MANIFEST).
#define IDR_MANIFEST 1

// Dialog templates.
#define IDD_STARTUP 1001
#define IDD_SET_TIMER 1002
#define IDD_PREFERENCES 1003
#define IDD_ABOUT 1004
#define IDD_LOG_VIEWER 1005

// Main menu and its accelerator table.
#define IDM_MAIN 2001
#define IDA_MAIN 3001

// Menu and accelerator commands.
#define IDM_EXIT 2002
#define IDM_TIME_LIMIT 6001
#define IDM_HELP_CONTENTS 6002
#define IDM_FONT 6003
#define IDM_TEXT_COLOR 6004
#define IDM_BACKGROUND_COLOR 6005
#define IDM_PREFERENCES 6006
#define IDM_ABOUT 6007
#define IDM_VIEW_LOG 6008

// The main window's Start, Stop and Reset buttons.
#define IDC_START 3002
#define IDC_STOP 3004
#define IDC_RESET 3005

// Built-in sounds, resource type "WAVE".
#define IDR_ALARM_WAVE 8001
#define IDR_TICK_WAVE 8002

// Static texts that no dialog procedure addresses.
#define IDC_STATIC_TEXT 65535

// Startup screen (1001) and About (1004).
#define IDC_PROGRAM_ICON 4001
#define IDC_ABOUT_DOWNLOAD_TEXT 4002
#define IDC_ABOUT_VISIT_WEB_PAGE 4003

// Set Timer (1002).
#define IDC_SET_HOURS 4004
#define IDC_SET_MINUTES 4005
#define IDC_SET_SECONDS 4006

// Preferences (1003).
#define IDC_PREF_BUTTONS_LEFT 4001
#define IDC_PREF_BUTTONS_TOP 4002
#define IDC_PREF_DISPLAY_TOP 4003
#define IDC_PREF_ALARM_PATH 4004
#define IDC_PREF_ALARM_BROWSE 4005
#define IDC_PREF_SHOW_STARTUP 4006
#define IDC_PREF_LOG_ENABLED 4007
#define IDC_PREF_ALARM_ENABLED 4008
#define IDC_PREF_TICK_LABEL 4009
#define IDC_PREF_TICK_PATH 4010
#define IDC_PREF_TICK_BROWSE 4011
#define IDC_PREF_TICKING_ENABLED 4012

// View Program Log (1005).
#define IDC_LOG_LIST 4001
#define IDC_LOG_BROWSE_FOLDER 4002
#define IDC_LOG_DELETE 4003

#endif
