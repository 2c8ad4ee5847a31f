#pragma once
// The fixed channel catalogue: 359 rows in display order, each with the name
// the user sees and the web address that plays the channel. Everything here is
// evaluated at compile time; the invariants the launcher relies on are checked
// by static_assert in ChannelTable.cpp.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

// Base addresses ("https" and a host, no trailing "/"). Every destination is
// composed from one of these, so changing one moves every address built on it.
inline constexpr char kChannelPortalHome[] = "https://tv.lumbrel.com";
inline constexpr char kYouTubeHome[] = "https://www.youtube.com";

inline constexpr int kChannelCount = 359;

struct ChannelEntry {
    std::int32_t index;
    const char* displayName;
    const char* destination;
};

namespace catalogue_detail {

// clang-format off
inline constexpr std::array<const char*, kChannelCount> kDisplayNames = {
    "123 GO!", "3ABN Kids", "5 Minute Crafts", "60 Minutes", "ABC News",
    "ABN TV Korea", "Action Hollywood Movies", "afarTV", "AFV", "AKC TV Puppies",
    "ALF TV", "Alter Horror", "Ameritrade", "Anime TV", "AsianCrush",
    "Auto Allstars", "AWE", "AXS TV Now", "Band Brasil", "Band News Brasil",
    "Barbe TV Live", "Big City TV", "BizTV", "Bizzarro Movies", "Bloomberg",
    "Bollywood HD Classic", "Bon Appetit", "Bounty", "Brat TV", "Bref Cinema",
    "Bviral", "Cafe Piano Music", "Cafetv", "Caillou", "Canal Rural Brasil",
    "Canale Europa", "Car Magazine TV", "Caracola TV", "Cartoon Network Brasil", "Cartoon Network Spanish",
    "Cartoonito Brasil", "Cartoonito Spanish", "CBC Comedy", "CBS News", "Cgtv Italia",
    "Charge", "Cheddar News", "Choppertown", "Cine Comedia", "Cine Life",
    "Cine Sureno", "Cinema Segreto", "Cinevault 70s", "Cinevault 80s", "Cinevault Classics",
    "Cineview", "Circle", "Classic Cinema", "Classic TV Rewind", "Classical Masterpieces",
    "Clubbing TV", "CNA News Asia", "CNBC", "CNN", "CNN Brasil",
    "CNN India", "Comedy Dynamics", "Comedy Redbox", "Comedy Twisted Mirror", "Comet",
    "CompanyTV", "Conflict", "Cops", "Cosmos", "Cowboy Classics",
    "Crackle", "Crackle Classics", "Crime 360", "Cult Cinema Classics", "Cult Classic Movie Theater",
    "Curiosity Now", "Dailymail", "Dance FM", "Dark Matter TV", "Dateline 247",
    "Da Vinci", "Deluxe Music", "Deluxe Music Dance", "Deluxe Music Flashback", "Disco Music",
    "Discoverfilm", "Disney Channel", "Disney Junior", "Disney XD", "Documentarios Brasil",
    "Documentaryplus", "Docurama", "Dove Channel", "Drone TV", "Drybar Comedy",
    "Dust", "DW Deutsch", "Edgesport", "Electric Now", "Emergency",
    "Escapes", "ESTV", "Euronews", "Explore Live Nature Cams", "Expo Channel",
    "Factnomenal", "Failarmy", "Family Time", "Farscape", "Fashion TV",
    "Fear Factor", "Fight Network", "Filmrise Horror", "Filmstream", "Filmstream Europe",
    "Filmstream International", "Filmzie", "Flou Cine", "Fox News Now", "France 24",
    "Freebie TV", "Fuel TV", "Funny or Die", "Funny Videos TV", "Game Show Central",
    "Gameplay", "Gameplay Europe", "Giggle Mug", "Go2travel", "Go Traveler",
    "Gogo Play TV", "Golden Plus", "Golden Premier", "GOODLAND", "GoUSA TV",
    "Gravitas Movies", "Grjngo", "Gusto TV", "Hasbro", "HauntTV",
    "Hi-yah", "History and Warfare Now", "History Film Channel", "History Time", "Holidayscapes",
    "Hollywire", "Homeful", "Horrify", "IGN", "iHola Play",
    "Infowars Network", "Insight TV", "IuniorTV", "Journy", "Jovem Pan News",
    "Juntos", "Just For Laughs", "Kartoon Channel", "Kidoodle TV", "KidsTV",
    "Kiss TV", "LatinoKids", "Live Music Radio", "Lofi Girl", "Lol Network",
    "Lone Star", "Love Nature", "Love Nature Espanol", "Made in Hollywood", "Magellantv",
    "Marvel HQ", "MavTV", "Maya and Mary", "Metafilmtv", "MHZ",
    "Midnight Pulp", "Mini Gear", "Moonbug Kids", "Mountain Bike TV", "Moviedome",
    "Moviedome Family", "Moviedome UK", "MovieSphere", "MovieSphere UK", "Multizonas TV",
    "Mundo Pequeno", "Museum France", "Music Brokers", "Music Hits", "Mystery Science Theater",
    "Mytime Movie France", "Mytime Movie Network", "Mytime Movie Spain", "Myzen TV", "NASA TV",
    "National Geographic", "NBC News", "Neox TV", "Next HD", "News 12 NY",
    "NHK World Japan", "Nick Jr.", "Nosey", "Ondemand China", "Our Vinyl TV",
    "Outdoor Channel", "Outside TV", "Pelimex", "People Are Awesome", "Pet Club TV",
    "Pix TV Brasil", "PlanetaTV Movie", "PlanetaTV Music", "Polsat Film", "Popcornflix",
    "Popstar TV", "Preview Channel", "Pulse TV", "Radical Docs", "Rakuten Action",
    "Rakuten Action Espanol", "Rakuten Action Movies", "Rakuten Action NL", "Rakuten Comedy", "Rakuten Comedy Espanol",
    "Rakuten Comedy Movies", "Rakuten Comedy NL", "Rakuten Documentaries", "Rakuten Drama", "Rakuten Drama Europe",
    "Rakuten Drama NL", "Rakuten Family", "Rakuten Family Belgique", "Rakuten Family Espanol", "Rakuten Family France",
    "Rakuten Family Germany", "Rakuten Family Italia", "Rakuten Family Portugues", "Rakuten Films Francais", "Rakuten Spain",
    "Rakuten Spotlight", "Rakuten Spotlight Espanol", "Rakuten Spotlight France", "Rakuten Switzerland", "Rakuten Top Free Movies",
    "Rakuten Top Movies", "Rakuten TV Germany", "Rakuten TV Romance", "Rakuten TV Top Films", "Rakuten Viki Asia",
    "RBTV Brasil", "Real Stories", "Real Wild", "Record News", "Red Bull TV",
    "Redbox American Classics", "Redbox Filmrise Family", "Redbox Filmrise Free Movies", "RedMusic", "RedeTV Brasil",
    "Retro Cartoon Brasil", "Retro Crush", "Reuters", "Rtv Noord Netherlands", "RTVE Noticias",
    "Runtime Action Brasil", "Runtime Espanol", "Rush Redbox", "SBT Brasil", "SCHOOL 123 GO!",
    "Sci-FiCentral", "Screambox Horror TV", "Scripps News", "Shout Cult", "Sic Novelas",
    "Sky News", "Soreal", "Sony Canal Comedias", "Sony Canal Novelas", "Sony Cine",
    "Sony Movie Channel", "Sony One Classics Brasil", "Space Videos", "Spongebob", "Spongebob Portugues",
    "Spongebob Espanol", "Sportoutdoortv", "Sportsgrid", "Spotlight Redbox", "Star Cinema",
    "Stormcast Novelas TV", "Supertoons TV", "Tastemade", "Tastemade Brasil", "Tastemade Espanol",
    "TechScience365", "Telemadrid", "Teletubies", "Televisa", "The Boat Show",
    "The Cycling Channel", "The Design Network", "The Film Detective", "The Good Life Radio", "The Guardian",
    "The Jack Hanna Channel", "The Masked Singer", "The Pet Collective", "The Red Green Show", "The Shopping Channel",
    "The Smurfs", "Timeline", "TMZ", "Todays Homeowner", "Tokushoutsu",
    "Top Cine Espanol", "Top Discovery", "TravelXP", "TV Anime Digital Network", "TV Serie Brasil",
    "TVS Cartoon Network", "TVS Classic Movies", "TVS Comedy Network", "TVS Drive in Movie", "TVS Family Channel",
    "TVS Front Page Detective", "TVS Horror", "TVS Nostalgia", "TVS Nostalgia Movies", "TVS Western Movie",
    "Tvsfilmnoir", "TSTV", "Tubi Originals", "Unexplained", "Unreel",
    "USA TODAY", "VICE", "W4Free Movies", "War and Military Now", "Watchmojo",
    "Welt Der Wunder TV", "WION", "Wipeout Xtra", "Witz", "Wonder",
    "Wp Minerva Pictures", "XITE", "Xploration Station", "XploreTV", "Xtrema Cine Europa",
    "Yahoo Finance", "Yaquelaverite", "Young Hollywood", "Zoo Moo",
};

// A row whose address does not follow the slug rule.
struct PathOverride {
    int index;
    const char* text;
};

// Portal rows whose slug is not the one the slug rule gives.
inline constexpr PathOverride kSlugExceptions[] = {
    {8, "afv-espanol"},  // AFV
    {10, "alf"},  // ALF TV
    {18, "band"},  // Band Brasil
    {19, "band-news"},  // Band News Brasil
    {31, "cafe-piano-music-grass-cotton"},  // Cafe Piano Music
    {43, "cbsnews"},  // CBS News
    {93, "disneyxd"},  // Disney XD
    {111, "failarmy-international"},  // Failarmy
    {128, "funny-videos"},  // Funny Videos TV
    {254, "rakuten-viki"},  // Rakuten Viki Asia
    {255, "rbtv"},  // RBTV Brasil
    {264, "redetv"},  // RedeTV Brasil
    {273, "sbt"},  // SBT Brasil
    {274, "123-go-school"},  // SCHOOL 123 GO!
    {275, "sci-fi-central"},  // Sci-FiCentral
    {302, "teletubbies"},  // Teletubies
    {309, "the-guardian-channel"},  // The Guardian
    {312, "thepetcollective"},  // The Pet Collective
};

// Rows that play on YouTube: the path after kYouTubeHome, letter case kept.
inline constexpr PathOverride kYouTubePaths[] = {
    {7, "/@afartv/streams"},  // afarTV
    {58, "/@classictvrewind/streams"},  // Classic TV Rewind
    {59, "/@ClassicalMasterpiecesNo1"},  // Classical Masterpieces
    {61, "/channelnewsasia/streams"},  // CNA News Asia
    {62, "/@CNBC/streams"},  // CNBC
    {65, "/@cnnnews18"},  // CNN India
    {78, "/@CultCinemaClassics/videos"},  // Cult Cinema Classics
    {81, "/@dailymail"},  // Dailymail
    {89, "/@discomusic6868/streams"},  // Disco Music
    {91, "/@disneychannel/streams"},  // Disney Channel
    {92, "/@disneyjunior/streams"},  // Disney Junior
    {108, "/@ExploreLiveNatureCams/streams"},  // Explore Live Nature Cams
    {110, "/@Factnomenal/streams"},  // Factnomenal
    {138, "/@GOODLANDTV/streams"},  // GOODLAND
    {143, "/@hasbroOfficial/streams"},  // Hasbro
    {167, "/@LiveMusicRadio/streams"},  // Live Music Radio
    {168, "/@LofiGirl"},  // Lofi Girl
    {177, "/@MayaAndMary/streams"},  // Maya and Mary
    {181, "/@minigear168"},  // Mini Gear
    {192, "/@musicbrokers/streams"},  // Music Brokers
    {193, "/@musichits6891/streams"},  // Music Hits
    {206, "/@nickjr/streams"},  // Nick Jr.
    {287, "/@SpaceVideosHD/streams"},  // Space Videos
    {301, "/@telemadrid"},  // Telemadrid
    {308, "/@TheGoodLiferadio/streams"},  // The Good Life Radio
    {321, "/@TopDiscovery/videos"},  // Top Discovery
    {340, "/@USATODAY/streams"},  // USA TODAY
    {346, "/@WION/streams"},  // WION
};
// clang-format on

constexpr std::size_t Length(const char* text) {
    std::size_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

constexpr const char* FindOverride(const PathOverride* first, const PathOverride* last, int row) {
    for (; first != last; ++first)
        if (first->index == row) return first->text;
    return nullptr;
}

constexpr bool IsSlugChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Appends text at out[at] when out is given; returns the new length either way,
// so the same code both measures and writes.
constexpr std::size_t Append(char* out, std::size_t at, const char* text) {
    for (std::size_t i = 0; text[i] != '\0'; ++i, ++at)
        if (out) out[at] = text[i];
    return at;
}

// The slug rule: lower-case, each run of other characters becomes one "-",
// no "-" at either end.
constexpr std::size_t AppendSlug(char* out, std::size_t at, const char* name) {
    bool pendingDash = false;
    bool any = false;
    for (std::size_t i = 0; name[i] != '\0'; ++i) {
        const char c = LowerAscii(name[i]);
        if (!IsSlugChar(c)) {
            pendingDash = any;
            continue;
        }
        if (pendingDash) {
            if (out) out[at] = '-';
            ++at;
            pendingDash = false;
        }
        if (out) out[at] = c;
        ++at;
        any = true;
    }
    return at;
}

// Writes row's full destination at out[at] (when out is given) and returns the
// position after it.
constexpr std::size_t AppendDestination(char* out, std::size_t at, int row) {
    if (const char* path = FindOverride(std::begin(kYouTubePaths), std::end(kYouTubePaths), row))
        return Append(out, Append(out, at, kYouTubeHome), path);
    at = Append(out, Append(out, at, kChannelPortalHome), "/p/");
    if (const char* slug = FindOverride(std::begin(kSlugExceptions), std::end(kSlugExceptions), row))
        at = Append(out, at, slug);
    else
        at = AppendSlug(out, at, kDisplayNames[static_cast<std::size_t>(row)]);
    return Append(out, at, ".html");
}

// Size of all destinations back to back, each with its terminating NUL.
constexpr std::size_t DestinationTextSize() {
    std::size_t size = 0;
    for (int row = 0; row < kChannelCount; ++row) size = AppendDestination(nullptr, size, row) + 1;
    return size;
}

constexpr std::size_t NameTextSize() {
    std::size_t size = 0;
    for (const char* name : kDisplayNames) size += Length(name) + 1;
    return size;
}

// The names and the destinations, each back to back with their NULs in one
// object. Every part of the program points into the same bytes; string literals
// would be copied into each file that uses the table.
inline constexpr std::array<char, NameTextSize()> kNameText = [] {
    std::array<char, NameTextSize()> text{};
    std::size_t at = 0;
    for (const char* name : kDisplayNames) at = Append(text.data(), at, name) + 1;
    return text;
}();

inline constexpr std::array<char, DestinationTextSize()> kDestinationText = [] {
    std::array<char, DestinationTextSize()> text{};
    std::size_t at = 0;
    for (int row = 0; row < kChannelCount; ++row) at = AppendDestination(text.data(), at, row) + 1;
    return text;
}();

}  // namespace catalogue_detail

inline constexpr std::array<ChannelEntry, kChannelCount> ChannelTable = [] {
    std::array<ChannelEntry, kChannelCount> table{};
    std::size_t name = 0, destination = 0;
    for (int row = 0; row < kChannelCount; ++row) {
        table[static_cast<std::size_t>(row)] = {row, &catalogue_detail::kNameText[name],
                                                &catalogue_detail::kDestinationText[destination]};
        name += catalogue_detail::Length(&catalogue_detail::kNameText[name]) + 1;
        destination += catalogue_detail::Length(&catalogue_detail::kDestinationText[destination]) + 1;
    }
    return table;
}();

// The longest display name; no selected text longer than this can name a channel.
inline constexpr std::size_t kMaxDisplayNameLength = [] {
    std::size_t longest = 0;
    for (const ChannelEntry& row : ChannelTable) {
        const std::size_t n = catalogue_detail::Length(row.displayName);
        if (n > longest) longest = n;
    }
    return longest;
}();
