#include "ChannelTable.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>

// Compile-time checks of what the launcher and the main window rely on: an edit
// of the table that breaks one of them does not build.
namespace {

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (catalogue_detail::LowerAscii(a[i]) != catalogue_detail::LowerAscii(b[i])) return false;
    return true;
}

constexpr bool RowsAreNumberedInOrder() {
    for (int row = 0; row < kChannelCount; ++row)
        if (ChannelTable[static_cast<std::size_t>(row)].index != row) return false;
    return true;
}

constexpr bool LessIgnoringCase(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const char x = catalogue_detail::LowerAscii(a[i]), y = catalogue_detail::LowerAscii(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

// Sorted, so that duplicates stand next to each other: n log n comparisons
// keep the check within every compiler's evaluation limits.
template <class Field, class Less, class Equal>
constexpr bool AllDifferent(Field field, Less less, Equal equal) {
    std::array<std::string_view, kChannelCount> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = field(ChannelTable[i]);
    std::sort(values.begin(), values.end(), less);
    for (std::size_t i = 1; i < values.size(); ++i)
        if (equal(values[i - 1], values[i])) return false;
    return true;
}

constexpr bool NamesAreUniqueIgnoringCase() {
    return AllDifferent([](const ChannelEntry& e) { return std::string_view(e.displayName); }, LessIgnoringCase,
                        EqualIgnoringCase);
}

constexpr bool DestinationsAreUnique() {
    return AllDifferent([](const ChannelEntry& e) { return std::string_view(e.destination); },
                        std::less<std::string_view>(), std::equal_to<std::string_view>());
}

constexpr bool NamesArePrintable() {
    for (const ChannelEntry& row : ChannelTable) {
        const std::string_view name = row.displayName;
        if (name.size() < 3 || name.size() > 27) return false;
        for (char c : name)
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '!' ||
                  c == '-' || c == '.'))
                return false;
    }
    return true;
}

constexpr bool OverridesNameRealRows() {
    for (const auto& o : catalogue_detail::kSlugExceptions)
        if (o.index < 0 || o.index >= kChannelCount) return false;
    for (const auto& o : catalogue_detail::kYouTubePaths)
        if (o.index < 0 || o.index >= kChannelCount ||
            catalogue_detail::FindOverride(std::begin(catalogue_detail::kSlugExceptions),
                                           std::end(catalogue_detail::kSlugExceptions), o.index))
            return false;
    return true;
}

static_assert(ChannelTable.size() == 359 && kChannelCount == 359);
static_assert(RowsAreNumberedInOrder(), "row i must have index i");
static_assert(NamesAreUniqueIgnoringCase(), "display names must differ, even with case ignored");
static_assert(DestinationsAreUnique(), "no two channels may share a destination");
static_assert(NamesArePrintable(), "display names are 3 to 27 printable ASCII characters");
static_assert(OverridesNameRealRows(), "each exception names one existing row, YouTube or portal");
static_assert(std::size(catalogue_detail::kSlugExceptions) == 18 && std::size(catalogue_detail::kYouTubePaths) == 28);

}  // namespace
