#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "ChannelTable.h"

namespace {

// The slug rule written out again, independently of the catalogue's own code.
std::string Slug(const std::string& name) {
    std::string out;
    bool gap = false;
    for (unsigned char c : name) {
        if (std::isalnum(c) && c < 0x80) {
            if (gap && !out.empty()) out += '-';
            out += static_cast<char>(std::tolower(c));
            gap = false;
        } else {
            gap = true;
        }
    }
    return out;
}

// Rows that do not follow the rule: the portal slug or the YouTube path.
const std::map<int, std::string> kPortalSlugs = {
    {8, "afv-espanol"},
    {10, "alf"},
    {18, "band"},
    {19, "band-news"},
    {31, "cafe-piano-music-grass-cotton"},
    {43, "cbsnews"},
    {93, "disneyxd"},
    {111, "failarmy-international"},
    {128, "funny-videos"},
    {254, "rakuten-viki"},
    {255, "rbtv"},
    {264, "redetv"},
    {273, "sbt"},
    {274, "123-go-school"},
    {275, "sci-fi-central"},
    {302, "teletubbies"},
    {309, "the-guardian-channel"},
    {312, "thepetcollective"},
};
const std::map<int, std::string> kYouTube = {
    {7, "/@afartv/streams"},
    {58, "/@classictvrewind/streams"},
    {59, "/@ClassicalMasterpiecesNo1"},
    {61, "/channelnewsasia/streams"},
    {62, "/@CNBC/streams"},
    {65, "/@cnnnews18"},
    {78, "/@CultCinemaClassics/videos"},
    {81, "/@dailymail"},
    {89, "/@discomusic6868/streams"},
    {91, "/@disneychannel/streams"},
    {92, "/@disneyjunior/streams"},
    {108, "/@ExploreLiveNatureCams/streams"},
    {110, "/@Factnomenal/streams"},
    {138, "/@GOODLANDTV/streams"},
    {143, "/@hasbroOfficial/streams"},
    {167, "/@LiveMusicRadio/streams"},
    {168, "/@LofiGirl"},
    {177, "/@MayaAndMary/streams"},
    {181, "/@minigear168"},
    {192, "/@musicbrokers/streams"},
    {193, "/@musichits6891/streams"},
    {206, "/@nickjr/streams"},
    {287, "/@SpaceVideosHD/streams"},
    {301, "/@telemadrid"},
    {308, "/@TheGoodLiferadio/streams"},
    {321, "/@TopDiscovery/videos"},
    {340, "/@USATODAY/streams"},
    {346, "/@WION/streams"},
};

std::string Name(int row) { return ChannelTable[static_cast<std::size_t>(row)].displayName; }
std::string Destination(int row) { return ChannelTable[static_cast<std::size_t>(row)].destination; }
std::string Portal(const std::string& slug) { return std::string(kChannelPortalHome) + "/p/" + slug + ".html"; }

TEST(ChannelTable, EveryDestinationFollowsTheRuleOrItsException) {
    int portal = 0, ruled = 0, youtube = 0;
    for (int row = 0; row < kChannelCount; ++row) {
        std::string expected;
        if (auto yt = kYouTube.find(row); yt != kYouTube.end()) {
            expected = std::string(kYouTubeHome) + yt->second;
            ++youtube;
        } else if (auto ex = kPortalSlugs.find(row); ex != kPortalSlugs.end()) {
            expected = Portal(ex->second);
            EXPECT_NE(ex->second, Slug(Name(row))) << "exception equal to the rule at row " << row;
            ++portal;
        } else {
            expected = Portal(Slug(Name(row)));
            ++portal;
            ++ruled;
        }
        EXPECT_EQ(Destination(row), expected) << "row " << row << " " << Name(row);
    }
    EXPECT_EQ(portal, 331);
    EXPECT_EQ(ruled, 313);
    EXPECT_EQ(youtube, 28);
}

TEST(ChannelTable, NamesAreExactAndInDisplayOrder) {
    // FNV-1a over every name followed by a newline, in table order: any changed
    // character, row or order changes it.
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const ChannelEntry& row : ChannelTable) {
        for (const char* p = row.displayName;; ++p) {
            const unsigned char c = *p ? static_cast<unsigned char>(*p) : '\n';
            h = (h ^ c) * 0x100000001b3ull;
            if (!*p) break;
        }
    }
    EXPECT_EQ(h, 0x01cb412671e906ccull);
    EXPECT_EQ(Name(0), "123 GO!");
    EXPECT_EQ(Name(63), "CNN");
    EXPECT_EQ(Name(358), "Zoo Moo");
    // Close to alphabetical, but not sorted: these neighbours must stay as they are.
    EXPECT_EQ(Name(6), "Action Hollywood Movies");
    EXPECT_EQ(Name(7), "afarTV");
    EXPECT_EQ(Name(8), "AFV");
    EXPECT_EQ(Name(84), "Dateline 247");
    EXPECT_EQ(Name(85), "Da Vinci");
    EXPECT_EQ(Name(203), "Next HD");
    EXPECT_EQ(Name(204), "News 12 NY");
    EXPECT_EQ(Name(289), "Spongebob Portugues");
    EXPECT_EQ(Name(290), "Spongebob Espanol");
    EXPECT_EQ(Name(335), "Tvsfilmnoir");
    EXPECT_EQ(Name(336), "TSTV");
}

TEST(ChannelTable, RowsAreNumberedAndUnique) {
    std::set<std::string> names, folded, destinations;
    for (int row = 0; row < kChannelCount; ++row) {
        EXPECT_EQ(ChannelTable[static_cast<std::size_t>(row)].index, row);
        std::string lower = Name(row);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        names.insert(Name(row));
        folded.insert(lower);
        destinations.insert(Destination(row));
        EXPECT_EQ(Destination(row).rfind("https://", 0), 0u) << row;
    }
    EXPECT_EQ(names.size(), 359u);
    EXPECT_EQ(folded.size(), 359u);
    EXPECT_EQ(destinations.size(), 359u);
    EXPECT_EQ(kMaxDisplayNameLength, 27u);
}

TEST(ChannelTable, SixteenNamesArePrefixesOfOthersInThirtyThreePairs) {
    std::set<std::string> prefixes;
    int pairs = 0;
    for (const ChannelEntry& a : ChannelTable)
        for (const ChannelEntry& b : ChannelTable)
            if (a.index != b.index && std::string(b.displayName).rfind(a.displayName, 0) == 0) {
                ++pairs;
                prefixes.insert(a.displayName);
            }
    EXPECT_EQ(pairs, 33);
    EXPECT_EQ(prefixes.size(), 16u);
    EXPECT_TRUE(prefixes.count("CNN") && prefixes.count("Rakuten Family") && prefixes.count("TVS Nostalgia"));
}

TEST(ChannelTable, NotableDestinations) {
    EXPECT_EQ(Destination(0), Portal("123-go"));
    EXPECT_EQ(Slug("SCHOOL 123 GO!"), "school-123-go");
    EXPECT_EQ(Destination(274), Portal("123-go-school"));
    EXPECT_EQ(Destination(63), Portal("cnn"));
    EXPECT_EQ(Destination(64), Portal("cnn-brasil"));
    EXPECT_EQ(Destination(65), std::string(kYouTubeHome) + "/@cnnnews18");
    EXPECT_EQ(Destination(145), Portal("hi-yah"));
    EXPECT_EQ(Destination(154), Portal("ihola-play"));
    EXPECT_EQ(Destination(300), Portal("techscience365"));
    EXPECT_EQ(Destination(328), Portal("tvs-drive-in-movie"));
    EXPECT_EQ(Destination(206), std::string(kYouTubeHome) + "/@nickjr/streams");
    EXPECT_EQ(Name(302), "Teletubies");
    EXPECT_EQ(Destination(302), Portal("teletubbies"));
    EXPECT_EQ(std::string(kChannelPortalHome), "https://tv.lumbrel.com");
    EXPECT_EQ(std::string(kYouTubeHome), "https://www.youtube.com");
    int withoutAt = 0;
    for (const auto& [row, path] : kYouTube) withoutAt += path.find('@') == std::string::npos;
    EXPECT_EQ(withoutAt, 1);
}

}  // namespace
