#include "Targets.h"

#include <algorithm>

#include "ChannelTable.h"
#include "WebAddresses.h"

Bases ProgramBases() { return {kChannelPortalHome, kYouTubeHome, kMakerHomePage}; }

std::string Rebase(const std::string& address, const std::string& from, const std::string& to) {
    if (address.compare(0, from.size(), from) != 0) return address;
    std::string base = to;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + address.substr(from.size());
}

std::vector<Target> MakeTargets(const Bases& bases, const std::vector<std::string>& only) {
    auto wanted = [&](const std::string& name) {
        return only.empty() || std::find(only.begin(), only.end(), name) != only.end();
    };
    auto moved = [&](const std::string& address) {
        std::string a = Rebase(address, kChannelPortalHome, bases.portal);
        a = Rebase(a, kYouTubeHome, bases.youtube);
        return Rebase(a, kMakerHomePage, bases.maker);
    };
    std::vector<Target> targets;
    for (const ChannelEntry& row : ChannelTable)
        if (wanted(row.displayName)) targets.push_back({row.index, row.displayName, moved(row.destination)});
    const std::pair<const char*, const char*> pages[] = {
        {"Channel portal", kChannelPortalHome}, {"Maker home page", kMakerHomePage}, {"Product page", kProductPage}};
    for (const auto& [name, address] : pages)
        if (wanted(name)) targets.push_back({-1, name, moved(address)});
    return targets;
}
