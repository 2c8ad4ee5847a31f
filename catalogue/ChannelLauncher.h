#pragma once
// The channel launcher: turns the channel list's current selection into at most
// one opened web address, and never opens the same channel twice in a row.

#include <cstdint>
#include <string_view>

#include "ChannelLookup.h"
#include "ChannelTable.h"

// lastOpened before any channel was opened; no row has this index.
inline constexpr std::int32_t kNoChannel = 10000;

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
    // Ask the length first: text longer than every channel name cannot match, and
    // is never copied, so an item of any length costs nothing and overruns nothing.
    const int length = list.GetTextLen(selected);
    if (length < 0 || static_cast<std::size_t>(length) > kMaxDisplayNameLength) return;
    char text[kMaxDisplayNameLength + 1] = {};
    const int copied = list.GetText(selected, text);
    if (copied < 0 || copied > length) return;
    const int row = RowToOpen(selected, std::string_view(text, static_cast<std::size_t>(copied)));
    if (row < 0) return;
    open(ChannelTable[static_cast<std::size_t>(row)].destination);
    // Select the matched item again, which scrolls it into view. In a list in
    // table order it stands at the row's own position; re-selecting the item
    // rather than that position keeps an item another program inserted from
    // shifting the selection onto a neighbour, which would then open as well.
    list.SetCurSel(selected);
    lastOpened = row;
}
