#include "ChannelLookup.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "ChannelTable.h"

namespace {

// Row numbers ordered by display name, so any text is found by binary search
// instead of a visit of every row.
constexpr std::array<std::int16_t, kChannelCount> kRowsByName = [] {
    std::array<std::int16_t, kChannelCount> rows{};
    for (int i = 0; i < kChannelCount; ++i) rows[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
    std::sort(rows.begin(), rows.end(), [](std::int16_t a, std::int16_t b) {
        return std::string_view(ChannelTable[static_cast<std::size_t>(a)].displayName) <
               std::string_view(ChannelTable[static_cast<std::size_t>(b)].displayName);
    });
    return rows;
}();

}  // namespace

int FindChannel(std::string_view text) noexcept {
    const auto* it =
        std::lower_bound(kRowsByName.begin(), kRowsByName.end(), text, [](std::int16_t row, std::string_view t) {
            return std::string_view(ChannelTable[static_cast<std::size_t>(row)].displayName) < t;
        });
    if (it == kRowsByName.end() || ChannelTable[static_cast<std::size_t>(*it)].displayName != text) return -1;
    return *it;
}
