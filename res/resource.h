// Resource identifiers, shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128

#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_HELP 130

#define IDS_ABOUTBOX 101
#define IDS_CHANNEL_LIST_NAME 103
#define IDM_ABOUTBOX 0x0010

#define IDC_WEBSITE 1015
#define IDC_HELP_BUTTON 1018
#define IDC_CHANNELS 1020
#define IDC_EXIT 1021
#define IDC_CHANNEL_LIST 1040
#define IDC_ABOUT 1048

// The framework's message "Failed to launch help.".
#define AFX_IDP_FAILED_TO_LAUNCH_HELP_ID 0xF107
