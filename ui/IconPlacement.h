#pragma once
// Where the minimised window draws its icon: centred in a client extent, in
// signed arithmetic with truncating division, so a 0-wide client with a 32-pixel
// icon gives (0 - 32 + 1) / 2 = -15.

constexpr int MinimisedIconOffset(int clientExtent, int iconExtent) { return (clientExtent - iconExtent + 1) / 2; }
