#pragma once

#include "Afx.h"

#include <shellapi.h>

// Asks the shell to open a web address in the user's default browser, and
// waits until the shell has handed it on (a verb the shell finishes
// asynchronously would otherwise be lost when the program ends right after).
// The result is not examined: there is nothing the program could do about it.
void OpenWebAddress(const char* address);

// For tests: the ShellExecuteExA that every later open goes through.
using ShellExecuteExAFn = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
void UseShellExecuteEx(ShellExecuteExAFn shellExecuteEx);
