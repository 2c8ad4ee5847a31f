#pragma once
// Fetches many addresses at once with libcurl's multi interface, within a cap
// on requests in flight overall and per host, retrying failures.

#include <functional>
#include <string>
#include <vector>

#include "Verdict.h"

struct FetchOptions {
    int tries = 3;
    double timeoutSeconds = 10;
    double retryDelaySeconds = 3;
    int jobs = 8;          // requests in flight at most
    int perHost = 2;       // requests in flight to one host at most
    int maxRedirects = 5;  // followed, and only to https
    std::size_t maxBytes = 64 * 1024;
    std::string caFile;  // trusted certificates instead of the system's
};

// Tries every address and returns its tries, in the order of `addresses`.
// progress(done, total) is called as addresses finish.
std::vector<std::vector<TryResult>> FetchAll(const std::vector<std::string>& addresses, const FetchOptions& options,
                                             const std::function<void(std::size_t, std::size_t)>& progress);
