// The maker's web site, as the resource script and the code both need it.
#pragma once
#define ORVENNA_MAKER_HOST "www.lumbrel.com"
#define ORVENNA_MAKER_HOME_PAGE "https://" ORVENNA_MAKER_HOST
