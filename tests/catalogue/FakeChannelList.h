#pragma once
// An in-memory list with the list-box operations the launcher uses, for the
// portable tests, the fuzzer and the benchmark. The Windows tests use real list boxes.

#include <cstring>
#include <string>
#include <vector>

#include "ChannelTable.h"

struct FakeChannelList {
    std::vector<std::string> items;
    int selection = -1;
    int setCurSelCalls = 0;

    static FakeChannelList Filled() {
        FakeChannelList list;
        for (const ChannelEntry& row : ChannelTable) list.items.emplace_back(row.displayName);
        return list;
    }
    int GetCurSel() const { return selection; }
    int GetTextLen(int item) const {
        return item >= 0 && item < static_cast<int>(items.size()) ? static_cast<int>(items[item].size()) : -1;
    }
    int GetText(int item, char* buffer) const {
        if (item < 0 || item >= static_cast<int>(items.size())) return -1;
        std::memcpy(buffer, items[item].c_str(), items[item].size() + 1);
        return static_cast<int>(items[item].size());
    }
    int SetCurSel(int item) {
        ++setCurSelCalls;
        selection = item >= 0 && item < static_cast<int>(items.size()) ? item : -1;
        return selection;
    }
};

// The launcher's steps taken literally: fetch the whole text, visit every row,
// skip the one opened last, compare whole strings, re-select the matched item.
// The reference the real launcher must agree with, and the baseline it is
// measured against.
struct LiteralLauncher {
    int lastOpened = 10000;
    template <class Open>
    void CheckSelection(FakeChannelList& list, Open&& open) {
        const int selected = list.GetCurSel();
        if (selected < 0) return;
        std::string text(static_cast<std::size_t>(list.GetTextLen(selected)), '\0');
        list.GetText(selected, text.data());
        for (const ChannelEntry& row : ChannelTable) {
            if (row.index == lastOpened) continue;
            if (text != row.displayName) continue;
            open(row.destination);
            list.SetCurSel(selected);
            lastOpened = row.index;
        }
    }
};
