// Cost of one run of the launcher, as the pre-translation hook pays it on every
// message, beside the literal visit of every row.

#include <benchmark/benchmark.h>

#include "ChannelLauncher.h"
#include "FakeChannelList.h"

namespace {

struct Discard {
    void operator()(const char* address) const { benchmark::DoNotOptimize(address); }
};

template <class Launcher>
void NothingSelected(benchmark::State& state) {
    FakeChannelList list = FakeChannelList::Filled();
    Launcher launcher;
    for (auto _ : state) launcher.CheckSelection(list, Discard{});
}

template <class Launcher>
void SelectionUnchanged(benchmark::State& state) {
    FakeChannelList list = FakeChannelList::Filled();
    Launcher launcher;
    list.selection = 358;
    launcher.CheckSelection(list, Discard{});  // opened once; every later call opens nothing
    for (auto _ : state) launcher.CheckSelection(list, Discard{});
}

template <class Launcher>
void NewSelectionAtLastRow(benchmark::State& state) {
    FakeChannelList list = FakeChannelList::Filled();
    for (auto _ : state) {
        Launcher launcher;  // a fresh launcher: row 358 is new every time
        list.selection = 358;
        launcher.CheckSelection(list, Discard{});
    }
}

BENCHMARK_TEMPLATE(NothingSelected, ChannelLauncher);
BENCHMARK_TEMPLATE(NothingSelected, LiteralLauncher);
BENCHMARK_TEMPLATE(SelectionUnchanged, ChannelLauncher);
BENCHMARK_TEMPLATE(SelectionUnchanged, LiteralLauncher);
BENCHMARK_TEMPLATE(NewSelectionAtLastRow, ChannelLauncher);
BENCHMARK_TEMPLATE(NewSelectionAtLastRow, LiteralLauncher);

}  // namespace

BENCHMARK_MAIN();
