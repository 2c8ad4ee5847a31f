#pragma once
// The addresses the check visits: every channel of the catalogue and the three
// fixed pages, each optionally moved onto other base addresses.

#include <string>
#include <vector>

struct Bases {
    std::string portal;   // replaces kChannelPortalHome
    std::string youtube;  // replaces kYouTubeHome
    std::string maker;    // replaces kMakerHomePage
};

struct Target {
    int index;  // the channel's row, or -1 for a fixed page
    std::string name;
    std::string address;
};

// The default bases: the program's own.
Bases ProgramBases();

// Channels in table order, then the portal's home, the maker's home and the
// product page; only those named in `only` when it is not empty.
std::vector<Target> MakeTargets(const Bases& bases, const std::vector<std::string>& only);

// address with its leading `from` replaced by `to`; unchanged when it does not start with it.
std::string Rebase(const std::string& address, const std::string& from, const std::string& to);
