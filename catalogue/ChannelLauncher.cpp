#include "ChannelLauncher.h"

int ChannelLauncher::RowToOpen(int selected, std::string_view text) const noexcept {
    // The list shows row i at position i, so the selected position is almost
    // always the row; only other text needs the search.
    int row = -1;
    if (selected >= 0 && selected < kChannelCount &&
        text == ChannelTable[static_cast<std::size_t>(selected)].displayName)
        row = selected;
    else
        row = FindChannel(text);
    // The channel opened last is never opened again until another one has been.
    return row == lastOpened ? -1 : row;
}
