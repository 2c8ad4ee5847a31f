#pragma once
// The maker's web addresses. The host is shared with the resource script,
// which shows it on the About box's button.

#include "Site.h"

inline constexpr char kMakerSiteName[] = ORVENNA_MAKER_HOST;
inline constexpr char kMakerHomePage[] = ORVENNA_MAKER_HOME_PAGE;
inline constexpr char kProductPage[] = ORVENNA_MAKER_HOME_PAGE "/p/orvenna.html";
