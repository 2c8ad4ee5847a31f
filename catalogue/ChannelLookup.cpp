#include "ChannelLookup.h"

#include "ChannelTable.h"

// A visit of the rows: only text at another position than its own row gets
// here, which a list filled in table order never shows, so no index is kept
// for it in the image.
int FindChannel(std::string_view text) noexcept {
    for (const ChannelEntry& row : ChannelTable)
        if (text == row.displayName) return row.index;
    return -1;
}
