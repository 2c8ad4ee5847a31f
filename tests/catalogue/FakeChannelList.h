#pragma once
// An in-memory list with the list-box operations the launcher uses, for the
// portable tests, the fuzzer and the benchmark. The Windows tests use real list boxes.

#include <cstring>
#include <string>
#include <vector>

#include "ChannelTable.h"

// How the list reports an item's length. Windows documents LB_GETTEXTLEN as an
// upper bound only, sized for conversion into the ANSI code page: up to four
// bytes per UTF-16 unit (UTF-8, GB 18030).
enum class LengthReport { Exact, OneMore, Double, Triple, Quadruple };
inline constexpr int kLengthReports = 5;

struct FakeChannelList {
    std::vector<std::string> items;
    int selection = -1;
    int setCurSelCalls = 0;
    LengthReport lengthReport = LengthReport::Exact;

    static FakeChannelList Filled() {
        FakeChannelList list;
        for (const ChannelEntry& row : ChannelTable) list.items.emplace_back(row.displayName);
        return list;
    }
    int GetCurSel() const { return selection; }
    int GetTextLen(int item) const {
        if (item < 0 || item >= static_cast<int>(items.size())) return -1;
        const int length = static_cast<int>(items[item].size());
        switch (lengthReport) {
        case LengthReport::OneMore:
            return length + 1;
        case LengthReport::Double:
            return 2 * length;
        case LengthReport::Triple:
            return 3 * length;
        case LengthReport::Quadruple:
            return 4 * length;
        default:
            return length;
        }
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
// skip the one opened last, compare whole strings, select position `index`.
// The reference the real launcher must agree with wherever the list's first
// 359 items are the table in order, and the baseline it is measured against.
struct LiteralLauncher {
    int lastOpened = 10000;
    template <class Open>
    void CheckSelection(FakeChannelList& list, Open&& open) {
        const int selected = list.GetCurSel();
        if (selected < 0) return;
        std::string text(static_cast<std::size_t>(list.GetTextLen(selected)) + 1, '\0');
        text.resize(static_cast<std::size_t>(list.GetText(selected, text.data())));
        for (const ChannelEntry& row : ChannelTable) {
            if (row.index == lastOpened) continue;
            if (text != row.displayName) continue;
            open(row.destination);
            list.SetCurSel(row.index);
            lastOpened = row.index;
        }
    }
};
