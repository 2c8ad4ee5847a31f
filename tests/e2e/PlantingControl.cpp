// The control for the planting test: loads each DLL named on the command line
// with the default search, which starts in the program's own folder.

#include <windows.h>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) ::LoadLibraryA(argv[i]);
    return 0;
}
