#pragma once
// The channel launcher: turns the channel list's current selection into at most
// one opened web address, and never opens the same channel twice in a row.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ChannelLookup.h"
#include "ChannelTable.h"

// lastOpened before any channel was opened; no row has this index.
inline constexpr std::int32_t kNoChannel = 10000;

// The longest item text the launcher copies. The list's reported length is an
// upper bound only, sized for a conversion into the ANSI code page: at most two
// bytes per UTF-16 unit in the double-byte code pages, three in UTF-8. Four
// times the longest name covers any of them with a margin, for a list that
// reports more than it copies; the margin costs a few dozen bytes of stack.
inline constexpr std::size_t kItemTextBound = 4 * kMaxDisplayNameLength;

class ChannelLauncher {
public:
    // List is anything with the list-box operations GetCurSel(), GetTextLen(item),
    // GetText(item, buffer) and SetCurSel(item); open takes a NUL-terminated address.
    template <class List, class Open>
    void CheckSelection(List& list, Open&& open);

    std::int32_t LastOpened() const noexcept { return lastOpened; }

    // The row that a selection of item `selected` showing `text` opens, or -1.
    int RowToOpen(int selected, std::string_view text) const noexcept;

private:
    std::int32_t lastOpened = kNoChannel;
};

template <class List, class Open>
void ChannelLauncher::CheckSelection(List& list, Open&& open) {
    const int selected = list.GetCurSel();
    if (selected < 0) return;  // nothing selected
    // Ask the length first: a report beyond the bound cannot be a channel name and
    // is never copied, so an item of any length costs nothing and overruns nothing.
    // The match rests on the text actually copied, never on the report.
    const int length = list.GetTextLen(selected);
    if (length < 0 || static_cast<std::size_t>(length) > kItemTextBound) return;
    char text[kItemTextBound + 1] = {};
    const int copied = list.GetText(selected, text);
    if (copied < 0 || static_cast<std::size_t>(copied) > kItemTextBound) return;
    const int row = RowToOpen(selected, std::string_view(text, static_cast<std::size_t>(copied)));
    if (row < 0) return;
    // Select the matched item again, which scrolls it into view. In a list in
    // table order it stands at the row's own position; re-selecting the item
    // rather than that position keeps an item another program inserted from
    // shifting the selection onto a neighbour, which would then open as well.
    list.SetCurSel(selected);
    // The row counts as opened before the shell is asked: the shell may run a
    // message loop of its own (a "cannot open" box, a browser reached through
    // DDE) that runs this launcher again, which must then find nothing new.
    lastOpened = row;
    open(ChannelTable[static_cast<std::size_t>(row)].destination);
}
