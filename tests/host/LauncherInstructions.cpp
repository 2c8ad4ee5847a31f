// Runs one launcher case a given number of times, for instruction counts under
// callgrind: (count N) - (count 0), divided by N, is the cost of one call.
// usage: launcher_instructions {ours|literal} {nothing|unchanged|new} N

#include <cstdlib>
#include <cstring>

#include "ChannelLauncher.h"
#include "FakeChannelList.h"

namespace {

volatile const char* g_sink;

struct Discard {
    void operator()(const char* address) const { g_sink = address; }
};

template <class Launcher>
void Run(const char* which, long count) {
    FakeChannelList list = FakeChannelList::Filled();
    if (std::strcmp(which, "nothing") == 0) {
        Launcher launcher;
        for (long i = 0; i < count; ++i) launcher.CheckSelection(list, Discard{});
    } else if (std::strcmp(which, "unchanged") == 0) {
        Launcher launcher;
        list.selection = 358;
        launcher.CheckSelection(list, Discard{});
        for (long i = 0; i < count; ++i) launcher.CheckSelection(list, Discard{});
    } else {
        for (long i = 0; i < count; ++i) {
            Launcher launcher;
            list.selection = 358;
            launcher.CheckSelection(list, Discard{});
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const long count = std::atol(argv[3]);
    if (std::strcmp(argv[1], "ours") == 0)
        Run<ChannelLauncher>(argv[2], count);
    else
        Run<LiteralLauncher>(argv[2], count);
    return 0;
}
