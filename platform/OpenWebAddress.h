#pragma once

// Asks the shell to open a web address in the user's default browser. The
// result is not examined: there is nothing the program could do about it.
void OpenWebAddress(const char* address);
