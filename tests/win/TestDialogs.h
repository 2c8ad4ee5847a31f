#pragma once
// Test-only dialog templates.

#define IDD_TEST_PLAIN 9001
#define IDD_TEST_PLACED 9002
#define IDD_TEST_MISSING 9999
#define IDC_TEST_BUTTON 9100
#define IDC_TEST_LIST 9101
