#include "OpenWebAddress.h"

#include "Afx.h"
#include <shellapi.h>

void OpenWebAddress(const char* address) {
    ::ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
}
